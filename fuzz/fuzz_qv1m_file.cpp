// QV1M.ini as found on disk: any bytes. A set that loads is written and read
// back to the same file, so a save after a load changes nothing.
#include "devices/qv1m/qv1m_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TQv1mFileRead read = Qv1mParseFile(InputBytes(data, size));
    FUZZ_REQUIRE(!(read.ok && read.tooShort));
    if (!read.ok)
        return 0;
    const QByteArray written = Qv1mFileBytes(read.set);
    const TQv1mFileRead again = Qv1mParseFile(written);
    FUZZ_REQUIRE(again.ok);
    FUZZ_REQUIRE(Qv1mFileBytes(again.set) == written);
    return 0;
}
