#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <future>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace korvel {

// Where the faces of a dialog's buttons lie once their state pictures are packed: each face, named
// by its rectangle in the full picture, gets a place in a much smaller picture, so a dialog keeps
// only the pixels its buttons show. Faces and places are in logical pixels: the same atlas packs
// a picture drawn at 1× and its drawing at 2×.
class FaceAtlas {
public:
    // Packs the rectangles (duplicates once) in rows no wider than `width` pixels.
    static std::shared_ptr<const FaceAtlas> Pack(std::vector<QRect> faces, int width = 1024);
    // Each face at a place of the caller's choosing, in the order given: a later face drawn over
    // an earlier one where their places overlap (DrawFaces).
    struct Placement {
        QRect face;
        QPoint where;
    };
    static std::shared_ptr<const FaceAtlas> Arrange(const std::vector<Placement>& placements);

    // Where `face` lies in a packed picture: the place of a packed rectangle that holds it.
    std::optional<QRect> Find(const QRect& face) const;
    QSize Size() const { return m_size; }
    // The packed picture of one full picture: each face copied to its place, at the full
    // picture's device pixel ratio. Any thread.
    QImage PackPicture(const QImage& full) const;
    // Copies each face of `full` to its place in `target`, in order; where a face reaches beyond
    // `full` its place shows the dialog's ground. Both may have any device pixel ratio: the faces
    // land at their logical places.
    void DrawFaces(QPaintDevice& target, const QImage& full) const;

private:
    struct Place {
        QRect face;    // in the full picture
        QPoint where;  // in the packed one
    };
    std::vector<Place> m_places;
    QSize m_size;
};

// A state picture kept as its file: each face is decoded from it, alone, when a button first shows
// it, and then kept. For states that few buttons ever show (hover, pressed), so that the window
// does not hold whole pictures of them.
//
// Threads: the GUI thread; only the decoding of Prefetch runs on a helper thread.
class LazyFaces {
public:
    explicit LazyFaces(QString file) : m_file(std::move(file)) {}

    // The face at `face` (logical pixels) of the full picture, its size, at the device pixel
    // ratio the file's name gives; a part beyond the picture shows the dialog's ground. Null when
    // the picture cannot be decoded.
    QPixmap Face(const QRect& face) const;
    // Decodes these faces on a helper thread, in one pass over the picture, so that a window
    // about to show them need not wait for the decoder face by face. Face() collects them.
    void Prefetch(std::vector<QRect> faces) const;

private:
    using Key = std::tuple<int, int, int, int>;
    // Each face's pixels (null where the picture cannot be decoded). Any thread.
    static std::map<Key, QImage> Decode(const QString& file, const std::vector<QRect>& faces);
    void CollectPrefetched() const;

    QString m_file;
    mutable std::map<Key, QPixmap> m_faces;
    mutable std::future<std::map<Key, QImage>> m_prefetched;
};

// The full-dialog pictures an image button cuts its faces from, one per state. A dialog loads
// them once and its buttons refer to them. With an atlas the pictures are packed: a button finds
// its face through the atlas instead of at its own rectangle. The pictures may be drawn at 2×
// (their device pixel ratio says so); faces are named in logical pixels.
struct SkinSurfaces {
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
    QPixmap disabled;
    QPixmap checked;
    std::shared_ptr<const FaceAtlas> atlas;
    // States whose faces are decoded one by one when first shown; their pictures above stay null.
    std::shared_ptr<const LazyFaces> lazyNormal = nullptr;
    std::shared_ptr<const LazyFaces> lazyHover = nullptr;
    std::shared_ptr<const LazyFaces> lazyPressed = nullptr;
    std::shared_ptr<const LazyFaces> lazyDisabled = nullptr;
    std::shared_ptr<const LazyFaces> lazyChecked = nullptr;

    // Where a face of the full pictures lies in these pictures, in logical pixels; nothing when it
    // was not kept.
    std::optional<QRect> FaceRect(const QRect& face) const {
        return atlas ? atlas->Find(face) : std::optional<QRect>(face);
    }
    // The picture that holds the face at `face` of the full picture in the state `surface` (one
    // of the pictures above), and the face's place in it in the picture's own pixels (drawn from
    // there it covers the face's logical size); nothing when the face was not kept.
    std::optional<std::pair<QPixmap, QRect>> Face(const QPixmap* surface, const QRect& face) const;
    // The faces of the state `surface` when they are decoded one by one; null otherwise.
    const LazyFaces* Lazy(const QPixmap* surface) const;
};

// A state picture, decoded once and kept as it is (no copy into a larger surface), with the device
// pixel ratio its name gives: a button cuts its face at its own rectangle, and a part of a face
// beyond the picture is left to the button's ground. A picture that cannot be read or decoded
// gives a null pixmap.
QPixmap LoadStateSurface(const QString& file);

// Whether a picture can be decoded, judged from its header without decoding it: for pictures that
// are only needed later.
bool StatePictureReadable(const QString& file);

}  // namespace korvel
