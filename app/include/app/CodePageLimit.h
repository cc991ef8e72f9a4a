// An edit box bounded to a field of the book: what the reader types or
// pastes is counted in bytes of the system code page, as the book stores it,
// and what would pass the field's width is refused, a character at a time
// (a pasted text keeps the characters that fit, none split).
#pragma once

#include <QString>
#include <QValidator>

#include <cstddef>

class QLineEdit;

namespace codepagelimit {

// Bytes of the text in the system code page.
size_t pageBytes(const QString& text);

struct Fitted {
    QString text;
    int cursor = 0;
};
// An edit changed `before` into `after` (the cursor behind the change). When
// `after` passes `limit` bytes, the characters the edit put in are cut to
// what fits; a `before` already past the limit is cut from its end.
Fitted fitEdit(const QString& before, const QString& after, int cursor, size_t limit);

}  // namespace codepagelimit

class CodePageLimit : public QValidator {
    Q_OBJECT

public:
    // Bounds `edit` (which takes the validator) to `limit` bytes.
    static void apply(QLineEdit* edit, size_t limit);

    CodePageLimit(size_t limit, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    size_t m_limit;
    // The text last let through: what an edit starts from.
    mutable QString m_accepted;
};
