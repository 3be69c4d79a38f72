#include "addin/windows/settings_grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "addin/windows/qt_text.h"

namespace scrivlet {

SettingsGrid::SettingsGrid(ParameterListModel& model, int codePage,
                           QWidget* parent)
    : QTableWidget(0, 3, parent), model_(model), codePage_(codePage) {
  setObjectName(QStringLiteral("settingsGrid"));
  setHorizontalHeaderLabels({QStringLiteral("Constant Name"),
                             QStringLiteral("Value"),
                             QStringLiteral("Description")});
  horizontalHeader()->setStretchLastSection(true);
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setColumnWidth(0, 130);
  setColumnWidth(1, 90);
  cellEditor_ = makeEditor(QStringLiteral("settingsCellEditor"));
  descriptionEditor_ = makeEditor(QStringLiteral("settingsDescriptionEditor"));
  connect(this, &QTableWidget::cellClicked, this, &SettingsGrid::editCell);
  following_ = model_.changes().subscribe([this] { refresh(); });
  refresh();
}

QLineEdit* SettingsGrid::makeEditor(const QString& name) {
  auto* editor = new QLineEdit(viewport());
  editor->setObjectName(name);
  editor->hide();
  editor->installEventFilter(this);
  return editor;
}

QLineEdit* SettingsGrid::editorFor(int column) const {
  return column == ParameterListModel::descriptionColumn ? descriptionEditor_
                                                         : cellEditor_;
}

QLineEdit* SettingsGrid::visibleEditor() const {
  if (cellEditor_->isVisible()) return cellEditor_;
  if (descriptionEditor_->isVisible()) return descriptionEditor_;
  return nullptr;
}

void SettingsGrid::editCell(int row, int column) {
  if (row < 0 || row >= rowCount() || column < 0 || column > 2) return;
  storeEditor();
  row_ = row;
  column_ = column;
  QLineEdit* editor = editorFor(column);
  QTableWidgetItem* cell = item(row, column);
  editor->setText(cell ? cell->text() : QString());
  placeEditor();
  editor->show();
  editor->setFocus();
  editor->selectAll();
}

void SettingsGrid::placeEditor() {
  QLineEdit* editor = visibleEditor();
  if (!editor && row_ >= 0) editor = editorFor(column_);
  if (!editor || row_ < 0) return;
  editor->setGeometry(visualRect(model()->index(row_, column_)));
}

void SettingsGrid::hideEditor() {
  // Hidden first: the focus leaving the box must not store it again.
  if (QLineEdit* editor = visibleEditor()) editor->hide();
}

void SettingsGrid::storeEditor() {
  QLineEdit* editor = visibleEditor();
  if (!editor) return;
  std::string text = fromQString(editor->text(), codePage_);
  int row = row_;
  int column = column_;
  hideEditor();
  model_.setGridCell(row, static_cast<ParameterListModel::Column>(column),
                     text);
}

bool SettingsGrid::eventFilter(QObject* watched, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(watched);
  if (!editor || (editor != cellEditor_ && editor != descriptionEditor_))
    return QTableWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusOut && editor->isVisible()) {
    storeEditor();
    return false;
  }
  if (event->type() != QEvent::KeyPress)
    return QTableWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Escape:
      hideEditor();
      setFocus();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      storeEditor();
      setFocus();
      return true;
    case Qt::Key_Down:
    case Qt::Key_Up: {
      if (editor != cellEditor_) return false;
      int column = column_;
      int next =
          model_.gridRowAfterMove(row_, key->key() == Qt::Key_Down ? 1 : -1);
      storeEditor();
      editCell(next, column);
      return true;
    }
    default:
      return false;
  }
}

void SettingsGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  placeEditor();
}

void SettingsGrid::refresh() {
  std::vector<EditorSetting> rows = model_.gridRows();
  setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < rowCount(); ++r) {
    const EditorSetting& s = rows[static_cast<std::size_t>(r)];
    const std::string* cells[] = {&s.constant, &s.value, &s.description};
    for (int c = 0; c < 3; ++c) {
      QString text = toQString(*cells[c], codePage_);
      if (QTableWidgetItem* cell = item(r, c))
        cell->setText(text);
      else
        setItem(r, c, new QTableWidgetItem(text));
    }
  }
  bool enabled = model_.gridEnabled();
  if (!enabled || row_ >= rowCount()) hideEditor();
  setEnabled(enabled);
}

}  // namespace scrivlet
