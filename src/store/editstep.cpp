#include "store/editstep.h"

#include "store/names.h"

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
            return { .focus = EditFocus::CategoryList };
        return {
            .change = EditChange::AddCategory, .loadUnits = true, .focus = EditFocus::UnitList
        };
    }
    if (!input.deleteConfirmed)
        return { .ask = EditQuestion::DeleteCategory };
    // A deleted category leaves no category to add units to: the from-list
    // offers no marker.
    if (*input.deleteConfirmed)
        return { .change = EditChange::DeleteCategory, .focus = EditFocus::UnitList };
    return { .loadUnits = true, .focus = EditFocus::UnitList };
}

} // namespace

EditStep editStep(const EditInput &input)
{
    switch (input.event) {
    case EditEvent::CategoryChosen:
        return chooseCategory(input);
    case EditEvent::UnitChosen:
        if (input.unitText == QStringView(kNewEntryMarker))
            return { .clearUnitText = true };
        [[fallthrough]];
    case EditEvent::UnitListEnter:
        if (input.valueText.isEmpty())
            return { .focus = EditFocus::ValueBox };
        [[fallthrough]];
    case EditEvent::ValueBoxEnter:
        break;
    }
    // A chosen entry always names a unit; typed text may still be the
    // guiding text or nothing.
    const bool named = input.event == EditEvent::UnitChosen
        || (!input.unitText.isEmpty() && input.unitText != QStringView(kUnitNamePrompt));
    return { .change = named ? EditChange::AddUnit : EditChange::None,
        .focus = EditFocus::UnitList };
}

} // namespace quorvel
