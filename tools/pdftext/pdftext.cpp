// versaleo-pdftext FILE: prints the text poppler finds in a PDF, page by
// page in the order the file shows it, as UTF-8 with a form feed after each
// page. Run by the reader as a child process with a time limit, so a PDF that
// makes poppler hang or crash cannot take the reader down.
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

void quiet(const std::string&, void*) {}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: versaleo-pdftext FILE\n", stderr);
        return 2;
    }
    poppler::set_debug_error_function(quiet, nullptr);
    const std::unique_ptr<poppler::document> document(poppler::document::load_from_file(argv[1]));
    if (!document || document->is_locked())
        return 1;
    const int pages = document->pages();
    if (pages <= 0)
        return 1;
    for (int i = 0; i < pages; ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (page) {
            const poppler::byte_array text = page->text(poppler::rectf(), poppler::page::raw_order_layout).to_utf8();
            std::fwrite(text.data(), 1, text.size(), stdout);
        }
        std::fputc('\f', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
