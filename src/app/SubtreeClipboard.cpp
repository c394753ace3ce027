#include "app/SubtreeClipboard.h"

#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"
#include "core/transfer/ContainerStream.h"
#include "core/transfer/SubtreeTransfer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace notarium {

namespace {

QString mimeType()
{
    return QString::fromLatin1(kTreeNodeMimeType.data(), static_cast<qsizetype>(kTreeNodeMimeType.size()));
}

} // namespace

SubtreeClipboard::SubtreeClipboard(QClipboard* clipboard)
    : m_clipboard(clipboard ? clipboard : QGuiApplication::clipboard())
{
}

void SubtreeClipboard::copy(const Node* node)
{
    if (node == nullptr || node->parent() == nullptr)
        return;
    TCollectionContainer container;
    CollectSubtree(node, container);
    const std::string bytes = writeContainerStream(container);
    auto* data = new QMimeData;
    data->setData(mimeType(), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    data->setText(QString::fromStdU16String(cp932::toUtf16(OutlineTitles(node))));
    m_clipboard->setMimeData(data);
}

bool SubtreeClipboard::holdsSubtree() const
{
    const QMimeData* data = m_clipboard->mimeData();
    return data != nullptr && data->hasFormat(mimeType());
}

Node* SubtreeClipboard::paste(Node* target, Document& document, QString* error) const
{
    if (error)
        error->clear();
    const QMimeData* data = m_clipboard->mimeData();
    if (data == nullptr || !data->hasFormat(mimeType()))
        return nullptr;
    const QByteArray bytes = data->data(mimeType());
    ContainerReadResult read = readContainerStream(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!read.ok()) {
        if (error)
            *error = QString::fromStdString(read.error);
        return nullptr;
    }
    return InsertSubtree(read.container, target, document);
}

} // namespace notarium
