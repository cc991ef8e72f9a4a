#include "library/Cabinet.h"

#include "book/CodePage.h"

#include <QString>

namespace {

QString shown(std::string_view pageText)
{
    return QString::fromStdString(codepage::toUtf8(pageText));
}

}  // namespace

bool sameCabinetName(std::string_view a, std::string_view b)
{
    return shown(a).compare(shown(b), Qt::CaseInsensitive) == 0;
}

CabinetNameCheck checkCabinetName(const std::vector<CCabinet>& cabinets, std::string_view name,
                                  std::string_view startedWith)
{
    if (shown(name).trimmed().isEmpty())
        return CabinetNameCheck::Empty;
    if (sameCabinetName(name, startedWith))
        return CabinetNameCheck::Ok;
    for (const CCabinet& cabinet : cabinets) {
        if (sameCabinetName(cabinet.name, name))
            return CabinetNameCheck::Taken;
    }
    return CabinetNameCheck::Ok;
}
