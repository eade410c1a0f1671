// The page: the control object the host page scripts see, the socket to the container, and the
// frame acknowledgement that lets the container merge changes while the page is busy.
const token = new URLSearchParams(location.search).get("t") || "";
// Every request carries the token, so the protocol module is loaded with it rather than imported.
const { PROTOCOL_VERSION, ToPage, ToHost } = await import(`/protocol.js?t=${encodeURIComponent(token)}`);
const status = document.getElementById("status");

function send(socket, message) {
  if (socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(message));
}

class ControlObject {
  constructor(socket) {
    this.socket = socket;
    this.OnOstranaLoaded = null;
    for (const name of ["DisplayType", "varAuth", "varUserID", "varHostName"]) {
      let value = "";
      Object.defineProperty(this, name, {
        get: () => value,
        set: (v) => { value = String(v); send(this.socket, { k: ToHost.property, name, value }); },
      });
    }
  }
  StartOstrana() { send(this.socket, { k: ToHost.method, name: "StartOstrana" }); }
}

function connect() {
  const socket = new WebSocket(`ws://${location.host}/ws?t=${encodeURIComponent(token)}`);
  const control = new ControlObject(socket);
  window.ostranaControl = control;
  socket.addEventListener("message", (event) => {
    const message = JSON.parse(event.data);
    switch (message.k) {
    case ToPage.hello:
      status.textContent = message.version === PROTOCOL_VERSION ? "" : "버전이 맞지 않습니다";
      startFromAddress(control);
      break;
    case ToPage.superseded:
      status.textContent = "다른 탭에서 열려 이 탭은 더 이상 쓰이지 않습니다";
      break;
    case ToPage.frameEnd:
      send(socket, { k: ToHost.ack, frame: message.frame });
      break;
    }
    document.body.dataset.lastKind = String(message.k);
  });
  socket.addEventListener("close", () => { document.body.dataset.closed = "1"; });
}

function startFromAddress(control) {
  const query = new URLSearchParams(location.search);
  const host = query.get("host");
  const user = query.get("user");
  if (!host || !user) {
    const form = document.getElementById("connect");
    form.hidden = false;
    form.addEventListener("submit", (event) => {
      // The address keeps what was typed, so a reload starts the same session.
      event.preventDefault();
      const next = new URLSearchParams(location.search);
      next.set("host", form.elements.host.value);
      next.set("user", form.elements.user.value);
      location.search = next.toString();
    });
    return;
  }
  control.varHostName = host;
  control.varUserID = user;
  control.varAuth = query.get("auth") || "";
  control.StartOstrana();
}

connect();
