// The question is asked again until one of the four answers is given; the end of input means no.
#include "cli/TerminalOverwriteAnswerer.h"

#include <istream>
#include <ostream>
#include <string>

#include "platform/base/LocalPath.h"
#include "platform/window/MessageBox.h"
#include "session/TextConversion.h"

TerminalOverwriteAnswerer::TerminalOverwriteAnswerer(std::istream& in, std::ostream& err, bool interactive,
                                                     std::function<void()> beforeAsking)
    : m_in(in), m_err(err), m_interactive(interactive), m_beforeAsking(std::move(beforeAsking)) {}

INT_PTR TerminalOverwriteAnswerer::Ask(COverwriteDlg& dialog) {
    if (m_beforeAsking) {
        m_beforeAsking();
    }
    m_err << ostrana::HostPathsInText(LocalToUtf8(dialog.m_strFolder)) << ": " << LocalToUtf8(dialog.m_strOldName) << " exists\n"
          << "  existing: " << LocalToUtf8(dialog.m_strOldSize) << ", " << LocalToUtf8(dialog.m_strOldDate) << "\n"
          << "  incoming: " << LocalToUtf8(dialog.m_strNewSize) << ", " << LocalToUtf8(dialog.m_strNewDate) << "\n";
    if (!m_interactive) {
        m_err << "  not replaced (no terminal to ask; use --overwrite always or skip)\n";
        return IDCANCEL;
    }
    while (true) {
        m_err << "Replace it? [y]es / [n]o / [a]lways overwrite / [s]kip all: " << std::flush;
        std::string answer;
        if (!std::getline(m_in, answer)) {
            return IDCANCEL;
        }
        char choice = answer.empty() ? ' ' : static_cast<char>(answer[0] | 0x20);
        switch (choice) {
        case 'y': dialog.m_nRadio = 0; return IDOK;
        case 'n': return IDCANCEL;
        case 'a': dialog.m_nRadio = 1; return IDOK;
        case 's': dialog.m_nRadio = 2; return IDOK;
        default: break;
        }
    }
}
