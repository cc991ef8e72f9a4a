// The program's text (system code page bytes) to and from what widgets show.
#pragma once

#include "book/CodePage.h"

#include <QString>

#include <string>
#include <string_view>

inline QString fromPageText(std::string_view bytes)
{
    return QString::fromStdString(codepage::toUtf8(bytes));
}

inline std::string toPageText(const QString& text)
{
    return codepage::fromUtf8(text.toStdString());
}
