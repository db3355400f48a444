// The thumbnails decoded so far, kept so that a repaint or a scroll draws them without reading
// or decoding anything: at most a given number of bytes of pixels, the least recently drawn
// dropped first. Keyed by the picture query's row key (which no other row ever gets) and the
// cell size, so a sort keeps them and a row fetched again or new is decoded afresh.
#pragma once

#include <QImage>
#include <QSize>

#include <list>
#include <optional>
#include <unordered_map>

namespace album {

class ThumbnailCache {
public:
    struct Key {
        quint64 rowKey = 0;
        QSize cell;
        bool operator==(const Key& other) const = default;
    };

    struct KeyHash {
        size_t operator()(const Key& key) const noexcept;
    };

    explicit ThumbnailCache(qint64 byteLimit);

    // The thumbnail kept under key, now the most recently used; nothing when none is kept. A
    // kept empty image stands for a picture that does not decode.
    std::optional<QImage> find(const Key& key);
    // Keeps the thumbnail (replacing one under the same key), then drops the least recently
    // used ones until the bytes fit the limit again.
    void insert(const Key& key, const QImage& thumbnail);
    void clear();

    qint64 bytes() const { return bytes_; }
    int count() const { return int(entries_.size()); }

private:
    struct Entry {
        Key key;
        QImage thumbnail;
    };
    static qint64 costOf(const QImage& thumbnail);

    qint64 byteLimit_;
    qint64 bytes_ = 0;
    std::list<Entry> entries_;  // the most recently used first
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> index_;
};

} // namespace album
