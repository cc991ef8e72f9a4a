// The language decision of start-up, run again when the reader picks another
// language: the stored "Language" (else the system's), the Chinese resource
// module loaded from beside the program when needed, and Qt's own dialogs in
// the same language.
#pragma once

// Returns the language in force: 0 English, 1 Chinese.
int setUpInterfaceLanguage(int stored);
