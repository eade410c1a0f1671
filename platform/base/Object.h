// The root of the framework's class model. Run-time class information, dynamic creation and
// serialisation join it as the window system and the clipboard payloads need them.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
