#include "PdfPages.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <limits>
#include <memory>

namespace {

size_t g_faults = 0;
size_t g_faultLimit = std::numeric_limits<size_t>::max();
void (*g_giveUp)() = nullptr;

void countFault(const std::string&, void*)
{
    if (++g_faults > g_faultLimit && g_giveUp)
        g_giveUp();
}

void startDocument()
{
    g_faults = 0;
    poppler::set_debug_error_function(countFault, nullptr);
}

std::optional<std::string> pagesOf(poppler::document* loaded)
{
    const std::unique_ptr<poppler::document> document(loaded);
    if (!document || document->is_locked())
        return std::nullopt;
    const int pages = document->pages();
    if (pages <= 0)
        return std::nullopt;
    std::string out;
    for (int i = 0; i < pages; ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (page) {
            const poppler::byte_array text = page->text(poppler::rectf(), poppler::page::raw_order_layout).to_utf8();
            out.append(text.data(), text.size());
        }
        out += '\f';
    }
    return out;
}

}  // namespace

std::optional<std::string> pdfPagesOfFile(const std::string& path)
{
    startDocument();
    return pagesOf(poppler::document::load_from_file(path));
}

std::optional<std::string> pdfPagesOfBytes(std::string_view bytes)
{
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    startDocument();
    // poppler keeps the pointer for the document's life; the document dies in pagesOf.
    return pagesOf(poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
}

void setPdfFaultLimit(size_t limit, void (*giveUp)())
{
    g_faultLimit = limit;
    g_giveUp = giveUp;
}
