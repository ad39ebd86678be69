#pragma once

#include "model/EqTextMessage.h"
#include "ui/BiText.h"

#include <QString>

#include <vector>

namespace quilo::eqsection {

// "Import…" and "Export…" of the equaliser section: captions, the file filter and the
// messages of a filter text in the language given.
inline constexpr BiText kImportCaption{"导入均衡", "Import EQ"};
inline constexpr BiText kExportCaption{"导出均衡", "Export EQ"};
inline constexpr BiText kImportButton{"导入…", "Import…"};
inline constexpr BiText kExportButton{"导出…", "Export…"};
inline constexpr BiText kFilterFiles{"滤波器列表 (*.txt)", "Filter lists (*.txt)"};
inline constexpr BiText kAllFiles{"所有文件 (*)", "All files (*)"};
inline constexpr BiText kNothingChanged{"均衡未作任何改动。", "The equaliser was not changed."};
inline constexpr BiText kImportedWithNotes{"已导入，但有以下改动：",
                                           "Imported, with these changes:"};
inline constexpr BiText kCannotRead{"无法读取文件：\n%1", "Cannot read the file:\n%1"};
inline constexpr BiText kNotText{"文件太大，不是滤波器列表：\n%1",
                                 "The file is too large to be a filter list:\n%1"};
inline constexpr BiText kCannotWrite{"无法写入文件：\n%1\n%2", "Cannot write the file:\n%1\n%2"};

// One message of reading a filter text.
QString messageText(const EqTextMessage& message, int language);

// The box text after an import: the refusal, or the warnings one a line.
QString refusalText(const EqTextMessage& refusal, int language);
QString warningsText(const std::vector<EqTextMessage>& warnings, int language);

} // namespace quilo::eqsection
