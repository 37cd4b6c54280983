#pragma once

#include <QCache>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <cstdint>
#include <span>

namespace quillon {

// Pictures of the characters a UTF-8 result shows outside plain ASCII, one for each cluster,
// cell count and colour, kept for reuse: shaping a cluster through the font's fallbacks costs
// far more than drawing a picture, and most texts use few distinct characters. Each picture
// fills exactly its cells: a glyph wider than them (a fallback ideograph, an emoji) is scaled
// down so that the grid stays aligned, a narrower one is centred. Controls show as their
// code in a box.
class ClusterPixmaps {
 public:
  // Drops every picture and draws the new ones with `font` in cells of this size.
  void SetGeometry(const QFont& font, qreal cellWidth, int lineHeight, int ascent, qreal pixelRatio);

  // The picture of `cluster` in `cells` cells.
  QPixmap Get(std::span<const char> cluster, std::uint64_t cells, QColor colour);

 private:
  [[nodiscard]] QPixmap Draw(std::span<const char> cluster, std::uint64_t cells, QColor colour) const;

  QFont font_;
  qreal cellWidth_ = 1;
  int lineHeight_ = 1;
  int ascent_ = 0;
  qreal pixelRatio_ = 1;
  // Costs in pixels: about 16 MiB of pictures.
  QCache<QByteArray, QPixmap> cache_{4 << 20};
};

}  // namespace quillon
