// The tune's WAV is little-endian on any machine: its header and the samples the renderer puts
// in it. Pure C++, run natively and, with --big-endian, built for s390x and run under qemu-user.
#include "tune/tunewav.h"

#include <bit>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const bool big = std::endian::native == std::endian::big;
    std::int16_t samples[] = {0x1234, -2};
    TuneWav::toLittleEndian(samples, 2);
    const TuneWav::Header header = TuneWav::header(0x01020304);
    const struct
    {
        const char *what;
        bool ok;
    } checks[] = {
        {"runs big-endian when asked to", big || argc < 2 || std::strcmp(argv[1], "--big-endian")},
        {"samples low byte first", std::memcmp(samples, "\x34\x12\xfe\xff", 4) == 0},
        {"RIFF size", std::memcmp(header.data() + 4, "\x28\x03\x02\x01", 4) == 0},
        {"44100 Hz, stereo, 16 bits",
         std::memcmp(header.data() + 22, "\x02\x00\x44\xac\x00\x00", 6) == 0
             && std::memcmp(header.data() + 34, "\x10\x00", 2) == 0},
        {"data size", std::memcmp(header.data() + 40, "\x04\x03\x02\x01", 4) == 0},
    };
    int failures = 0;
    for (const auto &check : checks) {
        if (!check.ok) {
            std::fprintf(stderr, "FAIL: %s\n", check.what);
            ++failures;
        }
    }
    std::printf("%s-endian: %d failures\n", big ? "big" : "little", failures);
    return failures == 0 ? 0 : 1;
}
