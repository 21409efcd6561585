// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes a picture at build time into raw 32-bit pixels, so that the program
// can draw it straight from its resources without loading an image decoder.
// Output: width and height as two little-endian 32-bit words, then the rows of
// QImage::Format_RGB32 pixels.
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PICTURE OUTPUT\n", argv[0]);
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    const quint32 size[2] = {qToLittleEndian(quint32(image.width())),
                             qToLittleEndian(quint32(image.height()))};
    bool ok = out.write(reinterpret_cast<const char*>(size), sizeof size) == sizeof size;
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    for (int y = 0; ok && y < image.height(); ++y) {
        ok = out.write(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes) == rowBytes;
    }
    if (!ok || !out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
