#include "app/CodePageLimit.h"

#include "PageText.h"

#include <QLineEdit>

namespace codepagelimit {
namespace {

// The length of the character (one or two UTF-16 units) at i.
qsizetype unitsAt(const QString& text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
}

// The leading characters of `text` that fit in `room` bytes.
QString leadingFit(const QString& text, size_t room)
{
    qsizetype end = 0;
    size_t used = 0;
    while (end < text.size()) {
        const qsizetype units = unitsAt(text, end);
        const size_t bytes = pageBytes(text.mid(end, units));
        if (used + bytes > room)
            break;
        used += bytes;
        end += units;
    }
    return text.left(end);
}

}  // namespace

size_t pageBytes(const QString& text)
{
    return toPageText(text).size();
}

Fitted fitEdit(const QString& before, const QString& after, int cursor, size_t limit)
{
    if (pageBytes(after) <= limit)
        return {after, cursor};
    // The edit replaced the middle of `before`: what both share at the ends stays.
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    // Never split a surrogate pair at the seams.
    while (prefix > 0 && after.at(prefix - 1).isHighSurrogate())
        --prefix;
    while (suffix > 0 && after.at(after.size() - suffix).isLowSurrogate())
        --suffix;
    const QString head = after.left(prefix), tail = after.right(suffix);
    const size_t kept = pageBytes(head + tail);
    if (kept > limit) {
        const QString cut = leadingFit(after, limit);
        return {cut, static_cast<int>(std::min<qsizetype>(cursor, cut.size()))};
    }
    const QString inserted = leadingFit(after.mid(prefix, after.size() - prefix - suffix), limit - kept);
    return {head + inserted + tail, static_cast<int>(head.size() + inserted.size())};
}

}  // namespace codepagelimit

void CodePageLimit::apply(QLineEdit* edit, size_t limit)
{
    auto* validator = new CodePageLimit(limit, edit);
    validator->m_accepted = edit->text();
    edit->setValidator(validator);
}

CodePageLimit::CodePageLimit(size_t limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

QValidator::State CodePageLimit::validate(QString& input, int& pos) const
{
    const codepagelimit::Fitted fitted = codepagelimit::fitEdit(m_accepted, input, pos, m_limit);
    input = fitted.text;
    pos = fitted.cursor;
    m_accepted = input;
    return Acceptable;
}
