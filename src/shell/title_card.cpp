#include "shell/title_card.h"

#include "base/app_info.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace tormel {

QPixmap titleCard(const QString& prompt)
{
    constexpr int width = 520;
    constexpr int height = 300;
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(18, 32, 64));
    sky.setColorAt(1.0, QColor(6, 10, 24));
    p.fillRect(pixmap.rect(), sky);

    // A chequered band, as on a finish line.
    constexpr int square = 16;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col * square < width; ++col)
            p.fillRect(col * square, 200 + row * square, square, square,
                       (row + col) % 2 == 0 ? QColor(240, 240, 240) : QColor(20, 20, 20));

    QFont title(QStringLiteral("DejaVu Sans"), 40, QFont::Bold);
    p.setFont(title);
    p.setPen(QColor(255, 200, 40));
    p.drawText(QRect(0, 60, width, 80), Qt::AlignCenter, applicationTitle());

    QFont subtitle(QStringLiteral("DejaVu Sans"), 12);
    p.setFont(subtitle);
    p.setPen(QColor(200, 210, 230));
    p.drawText(QRect(0, 140, width, 40), Qt::AlignCenter, QStringLiteral("Lap times · engine speed · tracks"));
    p.drawText(QRect(0, 250, width, 40), Qt::AlignCenter, prompt);
    p.end();
    return pixmap;
}

}  // namespace tormel
