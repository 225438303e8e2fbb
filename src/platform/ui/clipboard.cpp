#include "platform/ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// Mime data that produces its formats when they are asked for, not before.
class LazyMimeData : public QMimeData {
public:
    explicit LazyMimeData(const std::vector<ClipboardFormat>& formats) : m_formats(formats) {}

    bool hasFormat(const QString& mimeType) const override { return Find(mimeType) != nullptr; }

    QStringList formats() const override {
        QStringList names;
        for (const ClipboardFormat& format : m_formats) {
            names << QString::fromStdString(format.mimeType);
        }
        return names;
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        const ClipboardFormat* format = Find(mimeType);
        if (format == nullptr) {
            return {};
        }
        // Pages of the buffer that are never written are never taken from
        // the system, so a generous bound costs no memory.
        QByteArray bytes(qsizetype(format->sizeBound()), Qt::Uninitialized);
        bytes.truncate(qsizetype(format->write(bytes.data())));
        return bytes;
    }

private:
    const ClipboardFormat* Find(const QString& mimeType) const {
        for (const ClipboardFormat& format : m_formats) {
            if (mimeType == QLatin1String(format.mimeType)) {
                return &format;
            }
        }
        return nullptr;
    }

    std::vector<ClipboardFormat> m_formats;
};

} // namespace

void OfferOnClipboard(const std::vector<ClipboardFormat>& formats) {
    QGuiApplication::clipboard()->setMimeData(new LazyMimeData(formats), QClipboard::Clipboard);
}

void OfferAsSelection(const std::vector<ClipboardFormat>& formats) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection()) {
        clipboard->setMimeData(new LazyMimeData(formats), QClipboard::Selection);
    }
}
