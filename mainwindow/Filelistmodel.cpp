#include "mainwindow/Filelistmodel.h"


int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(paths_.Count());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || static_cast<std::size_t>(index.row()) >= paths_.Count())
        return {};
    return DisplayPath(paths_[static_cast<std::size_t>(index.row())]);
}

void FileListModel::SetPaths(PathList paths) {
    beginResetModel();
    paths_ = std::move(paths);
    endResetModel();
}

namespace {

void AppendEscapedByte(QString& out, unsigned char byte) {
    out += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
}

void AppendCharacter(QString& out, char32_t c) {
    switch (c) {
    case U'\n': out += QStringLiteral("\\n"); return;
    case U'\t': out += QStringLiteral("\\t"); return;
    case U'\r': out += QStringLiteral("\\r"); return;
    default: break;
    }
    if (c < 0x20 || c == 0x7f)
        AppendEscapedByte(out, static_cast<unsigned char>(c));
    else
        out += QString::fromUcs4(&c, 1);
}

// Length of the valid UTF-8 sequence at the start of `s`, or 0.
std::size_t Utf8SequenceLength(std::string_view s, char32_t& c) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(0);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xe0) == 0xc0) {
        length = 2, c = lead & 0x1f, minimum = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, c = lead & 0x0f, minimum = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((b(i) & 0xc0) != 0x80) return 0;
        c = (c << 6) | (b(i) & 0x3f);
    }
    if (c < minimum || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) return 0;
    return length;
}

}  // namespace

QString DisplayPath(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        char32_t c = 0;
        const std::size_t length = Utf8SequenceLength(bytes, c);
        if (length == 0) {
            AppendEscapedByte(out, static_cast<unsigned char>(bytes[0]));
            bytes.remove_prefix(1);
        } else {
            AppendCharacter(out, c);
            bytes.remove_prefix(length);
        }
    }
    return out;
}
