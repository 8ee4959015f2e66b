#pragma once

#include <QString>

#include <optional>

namespace quorvel {

// What the user did in edit mode.
enum class EditEvent {
    CategoryChosen, // an entry of the category list
    UnitChosen, // an entry of the from-list
    UnitListEnter, // Enter in the from-list's text field
    ValueBoxEnter, // Enter in the value box
};

enum class EditQuestion { None, CategoryName, DeleteCategory };
enum class EditChange { None, AddCategory, DeleteCategory, AddUnit };
// What the user is to give next: a category (after Cancel), a unit's name,
// or the factor of the unit named.
enum class EditWanted { Category, UnitName, Factor };

// What the user gave when the event comes, and the answer to the question
// of the step once it was asked.
struct EditInput {
    EditEvent event = EditEvent::CategoryChosen;
    bool markerChosen = false; // the category list's chosen entry is the marker
    bool unitMarkerChosen = false; // the from-list's chosen entry is a marker
    bool unitNamed = false; // the from-list's text names a unit
    bool factorGiven = false; // the value box holds text
    std::optional<QString> typedName = {}; // the name typed for a category, empty on Cancel
    std::optional<bool> deleteConfirmed = {}; // Yes to the delete question
};

// What an edit-mode event means, in this order: the question to ask first
// (after which the step is decided again, with the answer), the change to
// the data files, whether the chosen category's units are then loaded and
// the from-list offers the marker, whether the from-list's text field is
// emptied for a new unit's name, and what the user is to give next
// elsewhere (none while a question is pending, or where the user gives it
// where they are).
struct EditStep {
    EditQuestion ask = EditQuestion::None;
    EditChange change = EditChange::None;
    bool loadUnits = false;
    bool clearUnitText = false;
    std::optional<EditWanted> wanted = std::nullopt;

    friend bool operator==(const EditStep &, const EditStep &) = default;
};

// Decides an edit-mode event:
// - a category chosen asks for a new category's name on the marker, and
//   whether to delete it on any other entry; a name adds the category and
//   Cancel nothing, No loads its units;
// - the marker chosen in the from-list empties its text for the name;
// - another unit chosen, or Enter in the from-list, wants a factor first;
// - with a factor, choosing a unit or Enter in either control adds the unit
//   named by the from-list's text, unless it names none; then the next
//   unit's name is wanted.
EditStep editStep(const EditInput &input);

} // namespace quorvel
