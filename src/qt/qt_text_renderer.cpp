#include "qt/qt_text_renderer.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>

namespace audiodsp {

QFont qtFont(const Font& font) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0))));
  return f;
}

Size QtTextRenderer::extent(const Font& font, std::string_view text) const {
  const QFontMetrics metrics(qtFont(font));
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics.horizontalAdvance(s), metrics.height()};
}

void QtTextRenderer::drawInk(Bitmap& target, int x, int y, const Font& font, std::string_view text) const {
  const Size cell = extent(font, text);
  if (cell.width <= 0 || cell.height <= 0) return;
  QImage ink(cell.width, cell.height, QImage::Format_ARGB32_Premultiplied);
  ink.fill(Qt::transparent);
  {
    QPainter painter(&ink);
    const QFont f = qtFont(font);
    painter.setFont(f);
    painter.setPen(QColor(font.color.r, font.color.g, font.color.b));
    painter.drawText(0, QFontMetrics(f).ascent(),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  for (int row = 0; row < cell.height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height()) continue;
    const auto* line = reinterpret_cast<const QRgb*>(ink.constScanLine(row));
    for (int col = 0; col < cell.width; ++col) {
      const int tx = x + col;
      const int alpha = qAlpha(line[col]);
      if (alpha == 0 || !target.contains(tx, ty)) continue;
      const Color under = target.pixel(tx, ty);
      const auto blend = [alpha](int ink, int bg) {
        return static_cast<uint8_t>((ink * alpha + bg * (255 - alpha) + 127) / 255);
      };
      target.setPixel(
          tx, ty, {blend(font.color.r, under.r), blend(font.color.g, under.g), blend(font.color.b, under.b)});
    }
  }
}

}  // namespace audiodsp
