#include "qtwindow/result_view/cluster_pixmaps.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "resultview/text_clusters.h"

namespace quillon {

namespace {

constexpr char32_t kControlPictures = 0x2400;
constexpr char32_t kDeletePicture = 0x2421;

// What a cluster shows as: its own text, or the picture of a C0 control or DEL.
QString ShownText(std::span<const char> cluster) {
  if (const std::optional<char32_t> control = ControlOf(cluster); control && *control < 0x80) {
    const char32_t picture = *control == 0x7F ? kDeletePicture : kControlPictures + *control;
    return QString::fromUcs4(&picture, 1);
  }
  return QString::fromUtf8(cluster.data(), static_cast<qsizetype>(cluster.size()));
}

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
  const std::optional<char32_t> control = ControlOf(cluster);
  if (control && *control >= 0x80) {
    // A C1 control: its code in hex, boxed.
    painter.drawRect(QRectF(0.5, 1.5, width - 1, lineHeight_ - 3));
    QFont small = font_;
    small.setPointSizeF(std::max<qreal>(1, font_.pointSizeF() * 0.7));
    painter.setFont(small);
    painter.drawText(QRectF(0, 0, width, lineHeight_), Qt::AlignCenter, QString::number(*control, 16).toUpper());
    return pixmap;
  }
  painter.setFont(font_);
  const QString text = ShownText(cluster);
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
