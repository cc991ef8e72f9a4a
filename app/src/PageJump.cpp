#include "app/PageJump.h"

#include <algorithm>
#include <limits>

namespace pagejump {

std::optional<int64_t> parseNumber(const QString& typed)
{
    constexpr int64_t kCeiling = std::numeric_limits<int32_t>::max();
    int64_t number = 0;
    for (const QChar c : typed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        number = std::min(kCeiling, number * 10 + (c.unicode() - '0'));
    }
    return number;
}

int targetBookPage(int64_t number, int bookPages)
{
    if (number <= 0 || bookPages <= 0)
        return 0;
    return static_cast<int>(std::min<int64_t>(number, bookPages));
}

}  // namespace pagejump
