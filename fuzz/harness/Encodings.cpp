// The Encoding commands on an opened text: the first byte picks the command,
// the rest is the text. Each conversion function is also run on the text
// alone.
#include "FuzzSupport.h"

#include "book/Encodings.h"
#include "book/TextLayout.h"

#include <iterator>

namespace {

constexpr int kCodes[] = {0, 1, 2, 3, 4, 100, 101, 102, 103, 104, 105};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int code = kCodes[data[0] % std::size(kCodes)];
    const std::string bytes(fuzz::bytesOf(data + 1, size - 1));

    if (const encoding::EncodingRow* row = encoding::findEncoding(code)) {
        if (row->convert)
            (void)row->convert(bytes.c_str());
        if (row->convertRead)
            (void)row->convertRead(bytes.c_str());
    }

    CVersaleoDoc doc;
    fuzz::useFixedMetrics(doc);
    layout::importSource(doc, layout::detectText(bytes), "fuzz", "fuzz", *doc.bookMeasurer());
    encoding::reencode(doc, code);
    // A second command starts again from the text as it was read.
    encoding::reencode(doc, kCodes[(data[0] / std::size(kCodes)) % std::size(kCodes)]);
    return 0;
}
