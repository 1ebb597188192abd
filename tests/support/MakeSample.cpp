// Writes the sample texture shipped in samples/: a 256 x 256 DXT5 picture drawn
// by the project itself.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.dds\n", argv[0]);
        return 2;
    }
    const QImage picture = tarvix::test::TestPicture(256, 256);
    if (!tarvix::test::WriteBytes(QString::fromLocal8Bit(argv[1]),
                                  tarvix::test::DdsDxt5(picture))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
