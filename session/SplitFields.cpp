// Splitting stops at an empty rest, a rest without separator or a separator at its start; the
// rest is then appended twice.
#include "session/SplitFields.h"

#include "session/TextConversion.h"

void SplitFields(const std::string& text, std::vector<std::string>& fields, int limit, bool convert,
                 char separator) {
    auto append = [&](const std::string& field) { fields.push_back(convert ? Utf8ToLocal(field) : field); };
    std::string rest = text;
    int appended = 0;
    while (appended < limit - 1) {
        std::size_t at = rest.find(separator);
        if (rest.empty() || at == std::string::npos || at == 0) {
            append(rest);
            append(rest);
            return;
        }
        append(rest.substr(0, at));
        rest.erase(0, at + 1);
        ++appended;
    }
    append(rest);
}
