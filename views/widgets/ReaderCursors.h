// The reader's pointer shapes, numbered as the views choose them: 150/151
// turn a right/left page, 152 an index entry, 153/154 a bookmark strip on
// the right/left, 155 marking, 156 placing a tag, 157/158 sliding to the
// right/left page, 160 a note page, 163 selecting text, 164 selecting a
// picture, 161 a book on the library's shelf. Drawn once, at first use.
#pragma once

#include <QCursor>

// The cursor for an id; the arrow for 0 or an unknown id.
QCursor readerCursor(int id);
// The 32 x 32 picture behind a cursor id (null for the arrow).
QPixmap readerCursorPicture(int id);
