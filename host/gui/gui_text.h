// Texts between the host (UTF-8 std::string) and Qt widgets.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ughost {

inline QString qt(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())); }

// A real number as the user types it: a decimal comma is taken for a point.
inline std::string real_text(const QString& typed) { return typed.trimmed().replace(',', '.').toStdString(); }

}  // namespace ughost
