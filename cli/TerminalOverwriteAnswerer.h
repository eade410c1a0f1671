// The overwrite question on the terminal: both files' name, size and date, then
// "[y]es / [n]o / [a]lways overwrite / [s]kip all". Without a terminal on stdin nothing can be
// asked, so the file is skipped (the answer "아니오") and that is said on stderr.
#pragma once

#include <functional>
#include <iosfwd>

#include "transfer/OverwriteDlg.h"

class TerminalOverwriteAnswerer : public ostrana::OverwriteAnswerer {
public:
    // beforeAsking runs first (the progress display makes room for the question).
    TerminalOverwriteAnswerer(std::istream& in, std::ostream& err, bool interactive,
                              std::function<void()> beforeAsking = {});
    INT_PTR Ask(COverwriteDlg& dialog) override;

private:
    std::istream& m_in;
    std::ostream& m_err;
    bool m_interactive;
    std::function<void()> m_beforeAsking;
};
