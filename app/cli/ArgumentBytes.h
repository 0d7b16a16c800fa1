#pragma once
/// \file
/// \brief Command-line arguments through Qt's parser without losing a byte: a file name need not
/// be UTF-8, and two different names must never become one.

#include <QString>
#include <string>
#include <string_view>

namespace quillet {

/// \brief The argument as text: its valid UTF-8 as characters, every other byte b as the lone
/// surrogate U+DC00+b, which no valid UTF-8 decodes to.
QString argumentText(std::string_view bytes);

/// The bytes argumentText was made from.
std::string argumentBytes(const QString& text);

}  // namespace quillet
