#include "ThumbnailCache.h"

#include <QHashFunctions>

namespace album {

ThumbnailCache::ThumbnailCache(qint64 byteLimit) : byteLimit_(byteLimit)
{
    Q_ASSERT(byteLimit > 0);
}

size_t ThumbnailCache::KeyHash::operator()(const Key& key) const noexcept
{
    return qHashMulti(0, key.rowKey, key.cell.width(), key.cell.height());
}

// An entry costs its pixels and a little for its bookkeeping, so that even a cache of failures
// stays bounded.
qint64 ThumbnailCache::costOf(const QImage& thumbnail)
{
    constexpr qint64 kEntryOverhead = 128;
    return thumbnail.sizeInBytes() + kEntryOverhead;
}

std::optional<QImage> ThumbnailCache::find(const Key& key)
{
    const auto found = index_.find(key);
    if (found == index_.end())
        return std::nullopt;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->thumbnail;
}

void ThumbnailCache::insert(const Key& key, const QImage& thumbnail)
{
    if (const auto found = index_.find(key); found != index_.end()) {
        bytes_ -= costOf(found->second->thumbnail);
        entries_.erase(found->second);
        index_.erase(found);
    }
    entries_.push_front({key, thumbnail});
    index_.emplace(key, entries_.begin());
    bytes_ += costOf(thumbnail);
    // The newest entry stays even when it alone is over the limit: it is about to be drawn.
    while (bytes_ > byteLimit_ && entries_.size() > 1) {
        const Entry& oldest = entries_.back();
        bytes_ -= costOf(oldest.thumbnail);
        index_.erase(oldest.key);
        entries_.pop_back();
    }
    Q_ASSERT(index_.size() == entries_.size());
}

void ThumbnailCache::clear()
{
    entries_.clear();
    index_.clear();
    bytes_ = 0;
}

} // namespace album
