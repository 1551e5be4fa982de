// The query list's peer for its benchmark: Qt's table view over a query model, whose item
// selection model marks the rows.
#pragma once

#include <QItemSelectionModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QString>
#include <QTableView>
#include <memory>
#include <string>

// The view at the list's size over the query's rows, fetched up to `rows` (all when negative).
class CPeerView {
  public:
    CPeerView(const std::string& file, const char* sql, int rows) {
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
            database.setDatabaseName(QString::fromStdString(file));
            m_ok = database.open();
            m_model = std::make_unique<QSqlQueryModel>();
            m_model->setQuery(QSqlQuery(QString::fromUtf8(sql), database));
        }
        while (m_model->canFetchMore() && (rows < 0 || m_model->rowCount() < rows)) {
            m_model->fetchMore();
        }
        m_view = std::make_unique<QTableView>();
        m_view->setModel(m_model.get());
        m_view->resize(800, 600);
        m_view->show();
    }
    CPeerView(const CPeerView&) = delete;
    CPeerView& operator=(const CPeerView&) = delete;
    ~CPeerView() {
        m_view.reset();
        m_model.reset();
        QSqlDatabase::removeDatabase(kName);
    }

    bool Ok() const { return m_ok; }
    QTableView& View() { return *m_view; }
    QSqlQueryModel& Model() { return *m_model; }

  private:
    static inline const QString kName = QStringLiteral("qor_query_peer_bench");
    bool m_ok = false;
    std::unique_ptr<QSqlQueryModel> m_model;
    std::unique_ptr<QTableView> m_view;
};

// Selects every row and reads a field of each selected row; the rows read.
inline std::size_t PeerSelectAllAndRead(const std::string& file, const char* sql) {
    CPeerView peer(file, sql, -1);
    if (!peer.Ok()) {
        return 0;
    }
    peer.View().selectAll();
    std::size_t read = 0;
    for (const QModelIndex& row : peer.View().selectionModel()->selectedRows()) {
        read += peer.Model().data(peer.Model().index(row.row(), 3)).toString().isEmpty() ? 0 : 1;
    }
    return read;
}

// Toggles the selection of the first `count` rows one by one, as Ctrl+clicks do; the rows
// selected.
inline std::size_t PeerSelectOneByOne(const std::string& file, const char* sql, int count) {
    CPeerView peer(file, sql, count);
    if (!peer.Ok()) {
        return 0;
    }
    QItemSelectionModel& selection = *peer.View().selectionModel();
    for (int row = 0; row < count; ++row) {
        selection.select(peer.Model().index(row, 0),
                         QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    }
    return static_cast<std::size_t>(selection.selectedRows().size());
}
