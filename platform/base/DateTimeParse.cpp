#include "platform/base/DateTimeParse.h"

#include <cctype>
#include <string>

#include "platform/base/Locale.h"

namespace ostrana {
namespace {

std::string ReadPictureText(LCID locale, LCTYPE type) {
    char buffer[128] = {};
    if (GetLocaleInfoA(locale, type, buffer, sizeof buffer) == 0) return {};
    return buffer;
}

// The pictures of the last locale asked for; texts are read once, not for every parse.
struct Pictures {
    LCID locale = 0;
    std::string shortDate, timeFormat, morning, afternoon;
};

const Pictures& PicturesOf(LCID locale) {
    thread_local Pictures pictures;
    if (pictures.locale != locale || pictures.shortDate.empty()) {
        pictures = Pictures{locale, ReadPictureText(locale, LOCALE_SSHORTDATE), ReadPictureText(locale, LOCALE_STIMEFORMAT),
                            ReadPictureText(locale, LOCALE_S1159), ReadPictureText(locale, LOCALE_S2359)};
    }
    return pictures;
}

struct Fields {
    int year = -1, month = -1, day = -1, hour = 0, minute = 0, second = 0;
    int meridiem = 0; // 0 none, 1 morning, 2 afternoon
};

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    void SkipSpaces() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }
    bool Number(int maxDigits, int& value) {
        SkipSpaces();
        std::size_t start = m_pos;
        value = 0;
        while (m_pos < m_text.size() && m_pos - start < static_cast<std::size_t>(maxDigits) &&
               std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            value = value * 10 + (m_text[m_pos] - '0');
            ++m_pos;
        }
        return m_pos > start;
    }
    bool Literal(std::string_view literal) {
        SkipSpaces();
        if (m_text.substr(m_pos, literal.size()) != literal) return false;
        m_pos += literal.size();
        return true;
    }
    // A separator of the picture: the same characters, or any run of punctuation for texts
    // written with another separator.
    void Separator(std::string_view literal) {
        if (Literal(literal)) return;
        while (m_pos < m_text.size() && std::ispunct(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
    }
    std::size_t Position() const { return m_pos; }
    void Rewind(std::size_t position) { m_pos = position; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Walks a picture, reading one field per run of a pattern letter. In a time part the fields
// after the minutes may be missing at the end of the text.
bool ReadPicture(Reader& reader, const std::string& picture, LCID locale, Fields& fields, bool timePart) {
    std::size_t i = 0;
    while (i < picture.size()) {
        char letter = picture[i];
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == letter) ++run;
        if (letter == '\'') {
            std::size_t end = picture.find('\'', i + 1);
            if (end == std::string::npos) end = picture.size();
            reader.Literal(std::string_view(picture).substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        int value = 0;
        switch (letter) {
        case 'y':
            if (!reader.Number(run <= 2 ? 2 : 4, value)) return false;
            fields.year = run <= 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
            break;
        case 'M':
            if (!reader.Number(2, fields.month)) return false;
            break;
        case 'd':
            if (run >= 3) break; // weekday names are not read
            if (!reader.Number(2, fields.day)) return false;
            break;
        case 'h':
        case 'H':
            if (!reader.Number(2, fields.hour)) return false;
            break;
        case 'm':
            if (!reader.Number(2, fields.minute)) return false;
            break;
        case 's':
            if (!reader.Number(2, fields.second)) return timePart && reader.AtEnd();
            break;
        case 't':
            if (const Pictures& names = PicturesOf(locale); !names.morning.empty() && reader.Literal(names.morning)) fields.meridiem = 1;
            else if (!names.afternoon.empty() && reader.Literal(names.afternoon)) fields.meridiem = 2;
            break;
        case ' ': reader.SkipSpaces(); break;
        default:
            if (timePart && reader.AtEnd()) return true;
            reader.Separator(std::string_view(picture).substr(i, run));
            break;
        }
        i += run;
    }
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

bool ParseLocaleDateTime(LCID locale, std::string_view text, SYSTEMTIME& result) {
    Reader reader(text);
    Fields fields;
    const Pictures& pictures = PicturesOf(locale);
    if (!ReadPicture(reader, pictures.shortDate, locale, fields, false)) return false;
    reader.SkipSpaces();
    if (!reader.AtEnd()) {
        std::size_t timeStart = reader.Position();
        if (!ReadPicture(reader, pictures.timeFormat, locale, fields, true)) {
            reader.Rewind(timeStart);
            fields = Fields{fields.year, fields.month, fields.day};
            if (!ReadPicture(reader, "H:mm:ss", locale, fields, true)) return false;
        }
        reader.SkipSpaces();
        if (!reader.AtEnd()) return false;
    }
    if (fields.meridiem != 0) {
        if (fields.hour < 1 || fields.hour > 12) return false;
        fields.hour = fields.hour % 12 + (fields.meridiem == 2 ? 12 : 0);
    }
    if (fields.year < 1601 || fields.year > 30827 || fields.month < 1 || fields.month > 12 || fields.day < 1 ||
        fields.day > DaysInMonth(fields.year, fields.month) || fields.hour > 23 || fields.minute > 59 || fields.second > 59) {
        return false;
    }
    result = SYSTEMTIME{static_cast<WORD>(fields.year), static_cast<WORD>(fields.month), 0, static_cast<WORD>(fields.day),
                        static_cast<WORD>(fields.hour), static_cast<WORD>(fields.minute), static_cast<WORD>(fields.second), 0};
    return true;
}

} // namespace ostrana
