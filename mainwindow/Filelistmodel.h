#pragma once

#include <QAbstractListModel>

#include "filesystem/Pathlist.h"

// The rows of the file list: each path kept as the exact bytes the file
// system gave, shown decoded with control characters and undecodable bytes
// written as escapes, so that every path stays on one row.
class FileListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const PathList& Paths() const { return paths_; }
    void SetPaths(PathList paths);
    void Clear() { SetPaths(PathList()); }

private:
    PathList paths_;
};

// How a path of raw bytes is shown: UTF-8 decoded; control characters as
// \n, \t, \r or \xNN; a backslash stays a backslash; bytes that are not UTF-8
// as \xNN.
QString DisplayPath(std::string_view bytes);
