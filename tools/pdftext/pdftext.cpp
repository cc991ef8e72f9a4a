// versaleo-pdftext FILE: prints the text poppler finds in a PDF, page by
// page in the order the file shows it, as UTF-8 with a form feed after each
// page. Run by the reader as a child process with a time limit, so a PDF that
// makes poppler hang or crash cannot take the reader down.
#include "PdfPages.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: versaleo-pdftext FILE\n", stderr);
        return 2;
    }
    // Nothing is written before the end, so leaving gives the reader no text.
    setPdfFaultLimit(kPdfFaultLimit, [] { std::_Exit(1); });
    const std::optional<std::string> text = pdfPagesOfFile(argv[1]);
    if (!text)
        return 1;
    std::fwrite(text->data(), 1, text->size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
