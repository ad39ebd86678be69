#include "app/Language.h"

#include "widgets/BiText.h"

namespace quilo {

void Language::set(int language) {
    m_index = language == kEnglish ? kEnglish : kChinese;
    m_table.load(m_index);
    emit changed(m_index);
}

} // namespace quilo
