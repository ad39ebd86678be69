#include "ui/Language.h"

#include "ui/BiText.h"

namespace quilo {

void Language::set(int language) {
    m_index = language == kEnglish ? kEnglish : kChinese;
    m_table.load(m_index);
    emit changed(m_index);
}

} // namespace quilo
