// Feeds arbitrary bytes to the hive text parser. Whatever it accepts must be
// written back as the same bytes, give or take what Read documents (a byte-order
// mark, CR LF line ends, a missing final line end), and read again unchanged.
#include "platform/Hivetext.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition) abort();
}

// The input as Write would give it back: no byte-order mark, LF line ends.
QByteArray Normalised(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    return bytes.replace("\r\n", "\n");
}

bool WrittenBack(const QByteArray& written, const QByteArray& input, bool empty) {
    const QByteArray text = Normalised(input);
    return written == text || written == text + '\n' || (empty && written == text + "\n\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto hive = HiveText::Read(input);
    if (!hive) return 0;
    const QByteArray written = HiveText::Write(*hive);
    Require(WrittenBack(written, input, hive->Keys().isEmpty()));
    const auto again = HiveText::Read(written);
    Require(again && HiveText::Write(*again) == written);
    return 0;
}
