// The clipboard over Qt's application clipboard.
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "platform/ui/clipboard.h"

namespace {

QClipboard* Clipboard() {
    return QGuiApplication::instance() != nullptr ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

bool SetClipboardData(const std::vector<ClipboardFormat>& formats) {
    QClipboard* clipboard = Clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    auto mime = std::make_unique<QMimeData>();
    for (const ClipboardFormat& format : formats) {
        const QByteArray bytes(reinterpret_cast<const char*>(format.data.data()),
                               static_cast<qsizetype>(format.data.size()));
        mime->setData(QString::fromStdString(format.mimeType), bytes);
    }
    // The clipboard takes ownership of the data.
    clipboard->setMimeData(mime.release());
    return true;
}

std::optional<std::vector<std::uint8_t>> GetClipboardData(const std::string& mimeType) {
    QClipboard* clipboard = Clipboard();
    const QMimeData* mime = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    const QString type = QString::fromStdString(mimeType);
    if (mime == nullptr || !mime->hasFormat(type)) {
        return std::nullopt;
    }
    const QByteArray bytes = mime->data(type);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}
