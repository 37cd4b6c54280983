#include "qtwindow/result_view/cluster_pixmaps.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "resultview/text_clusters.h"

namespace quillon {

namespace {

// The size of the hex digits in a control's box, against the text's.
constexpr qreal kHexSize = 0.7;

}  // namespace

void ClusterPixmaps::SetGeometry(const QFont& font, qreal cellWidth, int lineHeight, int ascent, qreal pixelRatio) {
  font_ = font;
  cellWidth_ = cellWidth;
  lineHeight_ = lineHeight;
  ascent_ = ascent;
  pixelRatio_ = pixelRatio;
  cache_.clear();
}

QPixmap ClusterPixmaps::Get(std::span<const char> cluster, std::uint64_t cells, QColor colour) {
  QByteArray key(cluster.data(), static_cast<qsizetype>(cluster.size()));
  const QRgb rgba = colour.rgba();
  key.append(reinterpret_cast<const char*>(&rgba), sizeof rgba);
  key.append(static_cast<char>(std::min<std::uint64_t>(cells, 127)));
  if (const QPixmap* cached = cache_.object(key)) return *cached;
  const QPixmap drawn = Draw(cluster, cells, colour);
  // Pixmaps share their pixels, so the copy the cache takes over costs no second picture.
  cache_.insert(key, new QPixmap(drawn), static_cast<qsizetype>(std::max(1, drawn.width() * drawn.height())));
  return drawn;
}

QPixmap ClusterPixmaps::Draw(std::span<const char> cluster, std::uint64_t cells, QColor colour) const {
  const qreal width = static_cast<qreal>(cells) * cellWidth_;
  QPixmap pixmap(std::max(1, static_cast<int>(std::ceil(width * pixelRatio_))), std::max(1, static_cast<int>(std::ceil(lineHeight_ * pixelRatio_))));
  pixmap.setDevicePixelRatio(pixelRatio_);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setPen(colour);
  painter.setClipRect(QRectF(0, 0, width, lineHeight_));
  if (const std::optional<char32_t> control = ControlOf(cluster)) {
    // Its code in hex, boxed: few fonts have the control pictures, and a missing glyph's box
    // would not tell one control from another.
    painter.drawRect(QRectF(0.5, 1.5, width - 1, lineHeight_ - 3));
    QFont small = font_;
    small.setPointSizeF(std::max<qreal>(1, font_.pointSizeF() * kHexSize));
    painter.setFont(small);
    painter.drawText(QRectF(0, 0, width, lineHeight_), Qt::AlignCenter, QStringLiteral("%1").arg(*control, 2, 16, QLatin1Char('0')).toUpper());
    return pixmap;
  }
  painter.setFont(font_);
  const QString text = QString::fromUtf8(cluster.data(), static_cast<qsizetype>(cluster.size()));
  const qreal advance = QFontMetricsF(font_).horizontalAdvance(text);
  if (advance > width) {
    const qreal scale = width / advance;
    painter.translate(0, lineHeight_ * (1 - scale) / 2);
    painter.scale(scale, scale);
  } else {
    painter.translate((width - advance) / 2, 0);
  }
  painter.drawText(QPointF(0, ascent_), text);
  return pixmap;
}

}  // namespace quillon
