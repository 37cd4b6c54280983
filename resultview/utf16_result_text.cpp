#include "resultview/utf16_result_text.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {
// The UTF-16 bytes the view converts at a time: several steps, so that a line read from one
// place on is mostly converted once.
constexpr std::size_t kStretchBytes = Utf16ResultText::kStep * 8;
}  // namespace

void Utf16ResultText::Reset(unicode::Utf16Order order) {
  const std::lock_guard lock(mutex_);
  order_ = order;
  places_.assign(1, Place{0, 0});
  utf8Size_ = 0;
  utf16Size_ = 0;
  decoder_.emplace(order);
  sinceLastPlace_ = 0;
}

unicode::Utf16Order Utf16ResultText::Order() const {
  const std::lock_guard lock(mutex_);
  return order_;
}

std::span<const char> Utf16ResultText::Append(std::span<const char> utf16) {
  if (!decoder_) return {};
  converted_.resize((utf16.size() / 2 + 4) * 3);
  std::vector<Place> newPlaces;
  std::uint64_t utf8Size;
  std::uint64_t utf16Size;
  {
    const std::lock_guard lock(mutex_);
    utf8Size = utf8Size_;
    utf16Size = utf16Size_;
  }
  char* out = converted_.data();
  for (std::size_t at = 0; at < utf16.size();) {
    // Past a step, a byte at a time until a code point ends, where the next place is kept.
    const std::size_t room = sinceLastPlace_ >= kStep ? 1 : kStep - sinceLastPlace_;
    const std::size_t take = std::min(utf16.size() - at, room);
    out += decoder_->Feed(utf16.subspan(at, take), out);
    at += take;
    sinceLastPlace_ += take;
    if (sinceLastPlace_ >= kStep && decoder_->BetweenCodePoints()) {
      newPlaces.push_back({utf8Size + static_cast<std::uint64_t>(out - converted_.data()), utf16Size + at});
      sinceLastPlace_ = 0;
    }
  }
  const auto length = static_cast<std::size_t>(out - converted_.data());
  {
    const std::lock_guard lock(mutex_);
    places_.insert(places_.end(), newPlaces.begin(), newPlaces.end());
    utf8Size_ = utf8Size + length;
    utf16Size_ = utf16Size + utf16.size();
  }
  return {converted_.data(), length};
}

std::uint64_t Utf16ResultText::Utf8SizeWithin(std::uint64_t utf16Size) const {
  const std::lock_guard lock(mutex_);
  if (utf16Size >= utf16Size_) return utf8Size_;
  const auto after = std::upper_bound(places_.begin(), places_.end(), utf16Size,
                                      [](std::uint64_t size, const Place& place) { return size < place.utf16; });
  return std::prev(after)->utf8;
}

Utf16ResultText::Place Utf16ResultText::PlaceAtOrBefore(std::uint64_t utf8) const {
  const std::lock_guard lock(mutex_);
  const auto after = std::upper_bound(places_.begin(), places_.end(), utf8,
                                      [](std::uint64_t offset, const Place& place) { return offset < place.utf8; });
  return *std::prev(after);
}

std::size_t Utf16ResultText::MemoryBytes() const {
  const std::lock_guard lock(mutex_);
  return places_.capacity() * sizeof(Place) + converted_.capacity();
}

void Utf16ResultText::Reader::ConvertAround(std::uint64_t offset) const {
  const Place place = text_.PlaceAtOrBefore(offset);
  raw_.resize(kStretchBytes);
  const std::size_t got = file_.Read(place.utf16, raw_);
  unicode::Utf16ToUtf8 decoder(text_.Order());
  stretch_.resize(unicode::Utf16ToUtf8::MaxOutput(got));
  stretch_.resize(decoder.Feed({raw_.data(), got}, stretch_.data()));
  stretchStart_ = place.utf8;
}

std::size_t Utf16ResultText::Reader::Read(std::uint64_t offset, std::span<char> out) const {
  std::size_t done = 0;
  while (done < out.size()) {
    const std::uint64_t at = offset + done;
    if (at < stretchStart_ || at >= stretchStart_ + stretch_.size()) {
      ConvertAround(at);
      if (at < stretchStart_ || at >= stretchStart_ + stretch_.size()) break;
    }
    const auto from = static_cast<std::size_t>(at - stretchStart_);
    const std::size_t count = std::min(out.size() - done, stretch_.size() - from);
    std::memcpy(out.data() + done, stretch_.data() + from, count);
    done += count;
  }
  return done;
}

}  // namespace quillon
