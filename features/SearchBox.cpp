#include "features/SearchBox.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

#include "data/CityDatabase.h"

namespace {
const QColor kKindColour(0x70, 0x70, 0x70);
constexpr int kPopupMinWidth = 320;  // pixels
}  // namespace

SearchBox::SearchBox(QWidget* parent, CityDatabase& database, const QString& recentFile)
    : QLineEdit(parent), database_(database), recent_(recentFile), popup_(new QTreeWidget(this)) {
  setPlaceholderText(QStringLiteral("搜索站点、线路、地点、道路"));
  setClearButtonEnabled(true);

  popup_->setWindowFlags(Qt::Popup);
  popup_->setFocusPolicy(Qt::NoFocus);
  popup_->setFocusProxy(this);
  popup_->setColumnCount(2);
  popup_->setUniformRowHeights(true);
  popup_->setRootIsDecorated(false);
  popup_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  popup_->setSelectionBehavior(QAbstractItemView::SelectRows);
  popup_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  popup_->header()->hide();
  popup_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  popup_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  popup_->header()->setStretchLastSection(false);
  popup_->installEventFilter(this);

  connect(this, &QLineEdit::textEdited, this, &SearchBox::Suggest);
  connect(popup_, &QTreeWidget::itemClicked, this, [this] { ChooseCurrent(); });
}

void SearchBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (text().isEmpty() && !popup_->isVisible()) Suggest();
}

void SearchBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!popup_->isVisible()) Suggest();
      ChooseCurrent();
      return;
    case Qt::Key_Escape:
      popup_->hide();
      return;
    case Qt::Key_Down:
    case Qt::Key_Up:
      if (!popup_->isVisible()) Suggest();
      if (popup_->isVisible()) QCoreApplication::sendEvent(popup_, event);
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

// The popup holds the keyboard while it is shown: text keys go on to the box, Enter and Esc are
// the box's, the moving keys the list's; a press outside the list closes it.
bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != popup_) return false;
  if (event->type() == QEvent::MouseButtonPress) {
    popup_->hide();
    setFocus();
    return true;
  }
  if (event->type() != QEvent::KeyPress) return false;
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return false;
    default:
      setFocus();
      event->accept();
      keyPressEvent(static_cast<QKeyEvent*>(event));
      return true;
  }
}

void SearchBox::Suggest() {
  const search::SearchIndex& index = search::SearchIndex::Of(database_);
  std::vector<search::Entry> entries;
  if (text().isEmpty()) {
    for (const RecentSearches::Item& item : recent_.Items())
      if (const search::Entry* entry = index.Lookup(item.kind, item.name)) entries.push_back(*entry);
  } else {
    for (const search::Entry* entry : index.Find(text(), search::SearchIndex::kSuggestions))
      entries.push_back(*entry);
  }
  Show(std::move(entries));
}

void SearchBox::Show(std::vector<search::Entry> entries) {
  shown_ = std::move(entries);
  popup_->clear();
  if (shown_.empty()) {
    popup_->hide();
    return;
  }
  for (const search::Entry& entry : shown_) {
    auto* item = new QTreeWidgetItem(popup_, {entry.Label(), entry.kind});
    item->setForeground(1, kKindColour);
  }
  popup_->setCurrentItem(popup_->topLevelItem(0));
  const int rows = popup_->topLevelItemCount();
  popup_->resize(std::max(width(), kPopupMinWidth),
                 rows * popup_->sizeHintForRow(0) + 2 * popup_->frameWidth());
  popup_->move(mapToGlobal(QPoint(0, height())));
  if (!popup_->isVisible()) popup_->show();
}

void SearchBox::ChooseCurrent() {
  const int row = popup_->currentItem() ? popup_->indexOfTopLevelItem(popup_->currentItem()) : -1;
  if (!popup_->isVisible() || row < 0 || row >= int(shown_.size())) return;
  Choose(search::Entry(shown_[std::size_t(row)]));
}

void SearchBox::Choose(const search::Entry& entry) {
  popup_->hide();
  setText(entry.name);
  recent_.Add({entry.kind, entry.name});
  emit FeatureChosen(entry.layer, entry.name);
}
