// SPDX-License-Identifier: GPL-3.0-or-later
// Grabs an X11 window (or a part of it) of the running application for the
// end-to-end tests: writes it as PNG, or prints a digest of its pixels so
// that a test can tell whether a part of the window changed.
//
//   quillmere-e2e-grab WINDOW-ID OUT.png|--digest [X Y WIDTH HEIGHT]

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 3 && argc != 7) {
        std::fprintf(stderr, "usage: %s WINDOW-ID OUT.png|--digest [X Y WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    bool ok = false;
    const WId window = QByteArray(argv[1]).toULongLong(&ok, 0);
    if (!ok) {
        std::fprintf(stderr, "%s: not a window id: %s\n", argv[0], argv[1]);
        return 2;
    }
    int x = 0, y = 0, width = -1, height = -1;
    if (argc == 7) {
        x = QByteArray(argv[3]).toInt();
        y = QByteArray(argv[4]).toInt();
        width = QByteArray(argv[5]).toInt();
        height = QByteArray(argv[6]).toInt();
    }
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(window, x, y, width, height).toImage();
    if (image.isNull()) {
        std::fprintf(stderr, "%s: could not grab window %s\n", argv[0], argv[1]);
        return 1;
    }
    if (QByteArray(argv[2]) == "--digest") {
        const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
        QCryptographicHash digest(QCryptographicHash::Sha256);
        for (int row = 0; row < pixels.height(); ++row) {
            digest.addData(QByteArrayView(reinterpret_cast<const char*>(pixels.constScanLine(row)),
                                          pixels.width() * 4));
        }
        std::printf("%s\n", digest.result().toHex().constData());
        return 0;
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
