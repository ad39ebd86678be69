#pragma once

#include <QString>

namespace quilo {

// Language index: 0 Chinese, 1 English.
constexpr int kChinese = 0;
constexpr int kEnglish = 1;

// A text built in code, in both languages.
struct BiText {
    const char* zh;
    const char* en;
    QString pick(int language) const { return QString::fromUtf8(language == kEnglish ? en : zh); }
};

} // namespace quilo
