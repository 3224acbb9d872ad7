#include "screen/window/vetoing_selection_model.h"

namespace q93 {

VetoingSelectionModel::VetoingSelectionModel(QAbstractItemModel* model, QObject* parent,
                                             MayLeave mayLeave)
    : QItemSelectionModel(model, parent), mayLeave_(std::move(mayLeave)) {}

void VetoingSelectionModel::setCurrentIndex(const QModelIndex& index,
                                            QItemSelectionModel::SelectionFlags command) {
    if (index != currentIndex() && currentIndex().isValid()) {
        if (refusedGesture_ || !mayLeave_(currentIndex())) {
            refusedGesture_ = true;
            return;
        }
    }
    QItemSelectionModel::setCurrentIndex(index, command);
}

void VetoingSelectionModel::select(const QItemSelection& selection,
                                   QItemSelectionModel::SelectionFlags command) {
    // A click selects apart from moving the current item; after a refusal the highlight
    // stays on the node that refused to be left.
    if (refusedGesture_ && !selection.contains(currentIndex()))
        return;
    QItemSelectionModel::select(selection, command);
}

}  // namespace q93
