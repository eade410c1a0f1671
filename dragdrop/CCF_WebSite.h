// The web-site payloads: an application number, a site (two strings), a folder type (a number
// and two strings) and the two lists built of them. The program registers their formats but
// never exchanges them; their lists are stored as a count and each element in turn.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"

class CCF_App : public CObject {
    DECLARE_SERIAL(CCF_App)
public:
    explicit CCF_App(int app = 0) : m_nApp(app) {}
    ~CCF_App() override = default;

    void Serialize(CArchive& ar) override;
    int GetApp() const { return m_nApp; }

private:
    int m_nApp;
};

class CCF_WebSite : public CObject {
    DECLARE_SERIAL(CCF_WebSite)
public:
    CCF_WebSite() = default;
    CCF_WebSite(std::string first, std::string second)
        : m_strFirst(std::move(first)), m_strSecond(std::move(second)) {}
    ~CCF_WebSite() override = default;

    void Serialize(CArchive& ar) override;
    virtual std::string GetFirstString() const { return m_strFirst; }
    virtual std::string GetSecondString() const { return m_strSecond; }

private:
    std::string m_strFirst;
    std::string m_strSecond;
};

class CCF_FolderType : public CObject {
    DECLARE_SERIAL(CCF_FolderType)
public:
    CCF_FolderType() = default;
    CCF_FolderType(int type, std::string first, std::string second)
        : m_nType(type), m_strFirst(std::move(first)), m_strSecond(std::move(second)) {}
    ~CCF_FolderType() override = default;

    // The number, then the second string, then the first.
    void Serialize(CArchive& ar) override;
    int GetType() const { return m_nType; }
    const std::string& GetFirstString() const { return m_strFirst; }
    const std::string& GetSecondString() const { return m_strSecond; }

private:
    int m_nType = 0;
    std::string m_strFirst;
    std::string m_strSecond;
};

class CCF_WebSites : public CObject {
    DECLARE_SERIAL(CCF_WebSites)
public:
    explicit CCF_WebSites(int app = 0) : m_App(app) {}
    ~CCF_WebSites() override = default;

    void Serialize(CArchive& ar) override;
    void AddTail(std::unique_ptr<CCF_WebSite> site) { m_sites.push_back(std::move(site)); }
    int GetCount() const { return static_cast<int>(m_sites.size()); }
    const CCF_WebSite* GetAt(int index) const;
    const CCF_App& GetApp() const { return m_App; }

private:
    CCF_App m_App;
    std::vector<std::unique_ptr<CCF_WebSite>> m_sites;
};

class CCF_DBFolderList : public CObject {
    DECLARE_SERIAL(CCF_DBFolderList)
public:
    explicit CCF_DBFolderList(int app = 0) : m_App(app) {}
    ~CCF_DBFolderList() override = default;

    // The application number, the name, then the folder types.
    void Serialize(CArchive& ar) override;
    void AddTail(std::unique_ptr<CCF_FolderType> folder) { m_folders.push_back(std::move(folder)); }
    int GetCount() const { return static_cast<int>(m_folders.size()); }
    const CCF_FolderType* GetAt(int index) const;
    const CCF_App& GetApp() const { return m_App; }
    void SetName(std::string name) { m_strName = std::move(name); }
    const std::string& GetName() const { return m_strName; }

private:
    CCF_App m_App;
    std::string m_strName;
    std::vector<std::unique_ptr<CCF_FolderType>> m_folders;
};
