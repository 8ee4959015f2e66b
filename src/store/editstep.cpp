#include "store/editstep.h"

namespace quorvel {

namespace {

EditStep chooseCategory(const EditInput &input)
{
    if (input.markerChosen) {
        if (!input.typedName)
            return { .ask = EditQuestion::CategoryName };
        // Cancel creates nothing, and the marker stays chosen, so that the
        // arrow keys move on from it.
        if (input.typedName->isEmpty())
            return { .wanted = EditWanted::Category };
        return {
            .change = EditChange::AddCategory, .loadUnits = true, .wanted = EditWanted::UnitName
        };
    }
    if (!input.deleteConfirmed)
        return { .ask = EditQuestion::DeleteCategory };
    // A deleted category leaves no category to add units to: the from-list
    // offers no marker.
    if (*input.deleteConfirmed)
        return { .change = EditChange::DeleteCategory, .wanted = EditWanted::UnitName };
    return { .loadUnits = true, .wanted = EditWanted::UnitName };
}

} // namespace

EditStep editStep(const EditInput &input)
{
    switch (input.event) {
    case EditEvent::CategoryChosen:
        return chooseCategory(input);
    case EditEvent::UnitChosen:
        // The name is typed where the marker was chosen.
        if (input.unitMarkerChosen)
            return { .clearUnitText = true };
        [[fallthrough]];
    case EditEvent::UnitListEnter:
        if (!input.factorGiven)
            return { .wanted = EditWanted::Factor };
        [[fallthrough]];
    case EditEvent::ValueBoxEnter:
        break;
    }
    // A chosen entry always names a unit; typed text may name none.
    const bool named = input.event == EditEvent::UnitChosen || input.unitNamed;
    return { .change = named ? EditChange::AddUnit : EditChange::None,
        .wanted = EditWanted::UnitName };
}

} // namespace quorvel
