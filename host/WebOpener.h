// While the container runs, web addresses the program opens go to the page, which opens them in a
// new tab of the user's browser; other documents open on this machine as they would without it.
#pragma once

#include <functional>
#include <string>

namespace ostrana::host {

class WebOpener {
public:
    // `toPage` sends the address to the page; false when no page is there to open it.
    explicit WebOpener(std::function<bool(const std::string& utf8Url)> toPage);
    ~WebOpener();
    WebOpener(const WebOpener&) = delete;
    WebOpener& operator=(const WebOpener&) = delete;

    // The target as the program gave it (ANSI); true when it was opened.
    bool Open(const std::string& target) const;

private:
    std::function<bool(const std::string&)> m_toPage;
};

bool IsWebAddress(const std::string& target);

} // namespace ostrana::host
