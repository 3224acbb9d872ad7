#pragma once

#include <QItemSelectionModel>
#include <functional>

namespace q93 {

// A selection model that asks before the current item moves, because a tree widget has no
// veto of its own: the node being left must be saved first, and a refused save keeps it
// selected. Refusing here means the change never happens, so nothing has to be put back and
// the arrival handler never runs for a change that did not take place.
class VetoingSelectionModel : public QItemSelectionModel {
    Q_OBJECT

public:
    // Returns false to keep the current item; `from` is the item being left.
    using MayLeave = std::function<bool(const QModelIndex& from)>;

    VetoingSelectionModel(QAbstractItemModel* model, QObject* parent, MayLeave mayLeave);

    // A view may try the same move again while the mouse is still down (a drag over the
    // items); after a refusal every such try is refused quietly until the user starts
    // anew with a key or a click.
    void startNewGesture() { refusedGesture_ = false; }

    void setCurrentIndex(const QModelIndex& index,
                         QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection,
                QItemSelectionModel::SelectionFlags command) override;
    using QItemSelectionModel::select;

private:
    MayLeave mayLeave_;
    bool refusedGesture_ = false;
};

}  // namespace q93
