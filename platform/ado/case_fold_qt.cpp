// Case folding through Qt's Unicode tables.
#include "platform/ado/case_fold.h"

#include <QString>

std::string FoldCase(std::string_view text) {
    bool ascii = true;
    for (const char c : text) {
        ascii = ascii && (static_cast<unsigned char>(c) & 0x80) == 0;
    }
    if (ascii) {
        std::string folded(text);
        for (char& c : folded) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return folded;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toCaseFolded()
        .toStdString();
}
