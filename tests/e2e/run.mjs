// Browser journeys: each file starts what it needs and keeps its screenshots under the build folder.
import "./gate.mjs";
import "./render.mjs";
import "./journeys.mjs";
import "./transfers.mjs";
import "./protocol.mjs";
