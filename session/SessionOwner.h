// The holder of the values a session shares with its window: the session cookie it sends and the
// greeting values it fills. The main window is the holder; a program without one supplies its own.
// The session reaches the holder through one process-wide pointer, like every other part that
// reaches the main window.
#pragma once

#include <string>

class SessionOwner {
public:
    virtual ~SessionOwner() = default;

    // The value of the WAXLO_AUTH cookie, as received (ANSI code page).
    virtual std::string GetSessionCookie() const = 0;
    virtual void SetSessionCookie(const std::string& cookie) = 0;
    // The greeting number is the account kind; the home label is the display name.
    virtual void SetGreetingNumber(int number) = 0;
    virtual void SetHomeLabel(const std::string& label) = 0;
};

// The process-wide holder (the main window), or null when none exists.
SessionOwner* GetSessionOwner();
void SetSessionOwner(SessionOwner* owner);

// A plain holder for programs and tests that have no main window.
class SimpleSessionOwner : public SessionOwner {
public:
    std::string GetSessionCookie() const override { return m_cookie; }
    void SetSessionCookie(const std::string& cookie) override { m_cookie = cookie; }
    void SetGreetingNumber(int number) override { m_greetingNumber = number; }
    void SetHomeLabel(const std::string& label) override { m_homeLabel = label; }

    int GreetingNumber() const { return m_greetingNumber; }
    const std::string& HomeLabel() const { return m_homeLabel; }

private:
    std::string m_cookie;
    int m_greetingNumber = 0;
    std::string m_homeLabel;
};
