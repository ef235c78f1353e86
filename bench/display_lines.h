#pragma once

#include <QString>

#include <string>

namespace vantor::bench {

// The log buffer as the text widget shows it, LF for CR LF.
inline QString displayLines(const std::string& lines) {
  return QString::fromStdString(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace vantor::bench
