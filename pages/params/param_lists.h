// The Configuration and Options pages and the emulation dialog as data: every drop-down list
// with its items, what a selection writes and how the controller's byte reads back to a
// position; the Options check boxes; the label slots. The Win32 pages only create the
// controls and apply what these tables decide.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/params.h"

namespace kestos {

// Where a list's item texts come from.
enum class ItemSource : uint8_t { numbers, slots, fixed };

// Item i shows v = first + step * i through `format`: with v itself, or with v / divisor and
// v % divisor when a divisor is set. Values above 0 use `positiveFormat` when there is one.
struct NumberItems {
    long first;
    long step;
    long divisor;
    const char* format;
    const char* positiveFormat;
};

struct ListItems {
    ItemSource source;
    int count;
    NumberItems numbers;      // ItemSource::numbers
    int firstSlot;            // ItemSource::slots: language slots firstSlot..firstSlot+count-1
    const char* const* texts; // ItemSource::fixed
};

// How a position becomes the parameter's byte and back.
enum class ListRule : uint8_t {
    linear,      // quantity = position * scale + offset; back (q - offset) / scale, 0 below
    lambdaPoint, // linear, with the offset of `shownLambdaType`
    field,       // the current byte with a field replaced: compose / decompose
    sensorType,  // a field, followed by the LambdaPoint default of the new type
};

// What a linear list counts in.
enum class Quantity : uint8_t {
    byte,    // the parameter byte itself
    celsius, // `codeFromTemp` / `tempFromCode` of the byte
    rpm,     // an engine speed written as a period in two codes
};

struct ParamList {
    int id;
    ParamKey key; // the parameter written and read back (the Lo code of an engine speed)
    ListItems items;
    ListRule rule;
    Quantity quantity;
    int scale;
    int offset;
    uint8_t (*compose)(uint8_t current, int position);
    int (*decompose)(uint8_t value);
    const SpeedParameter* speed; // Quantity::rpm
};

// Configuration page lists, in the order the page refreshes them.
constexpr int configListCount = 13;
extern const ParamList configLists[configListCount];

// Options page lists, in the order the page refreshes them.
constexpr int optionsListCount = 12;
extern const ParamList optionsLists[optionsListCount];

// An Options check box: one bit of `Options`.
constexpr int maxDependants = 7; // six at most, and the 0 that ends them
struct OptionCheck {
    int id;
    uint8_t bit;
    bool inverted;                 // checked means the bit is clear
    int dependants[maxDependants]; // shown while checked; 0 ends the list
    int listsAfter;                // how many of `optionsLists` the refresh selects next
};
constexpr int optionChecksCount = 5;
extern const OptionCheck optionChecks[optionChecksCount];

// The emulation dialog's four lists: one nibble each, position = 15 - nibble.
struct NibbleList {
    int id;
    ParamKey key;
    int shift; // 0: low nibble, 4: high nibble
    ListItems items;
};
constexpr int nibbleListCount = 4;
extern const NibbleList nibbleLists[nibbleListCount];

struct LabelSlot {
    int id;
    int slot;
};
constexpr int configLabelCount = 25;
extern const LabelSlot configLabels[configLabelCount];
constexpr int optionsLabelCount = 31;
extern const LabelSlot optionsLabels[optionsLabelCount];
constexpr int emulationLabelCount = 5; // the four row labels and the OK button
extern const LabelSlot emulationLabels[emulationLabelCount];
constexpr int emulationCaptionSlot = 98;

// Configuration controls that follow `EmulType` and `LambdaType`; 0 ends each list.
extern const int emulTimeControls[7];
extern const int tpsInertControls[4];
// The emulation time lists are usable only while `EmulType` bits 0..1 are 0.
bool emulTimesEnabled();
// The TPS dead band is usable only while `LambdaType` bit 1 is clear.
bool tpsInertEnabled();

// Program-wide state of the parameter pages; it outlives the pages themselves.
struct ParamsState {
    int shownLambdaType = 0; // the sensor type the lambda point list was built for
    bool subDialogOpen = false;
};
extern ParamsState paramsState;
void resetParamsState();

// The items of the Configuration page's lambda point list for a sensor type, and the byte
// value of its first item.
const ListItems& lambdaPointItems(int sensorType);
int lambdaPointOffset(int sensorType);
// The items a list has now (the lambda point list follows `shownLambdaType`).
const ListItems& currentItems(const ParamList& list);

// Text of item `index`: a language slot, a fixed text, or formatted into `buffer`.
const char* itemText(const ListItems& items, int index, char* buffer, std::size_t size);

// Writes the parameter(s) for choosing `position`, with `sendCommand`.
void writeListPosition(const ParamList& list, int position);
// The position the device image reads back to; it may lie outside the list (no selection).
int readBackPosition(const ParamList& list);
// The same for any set of the 27 values, the lambda point list being that of `sensorType`; and
// what the list counts in for that set (rpm, degrees C or the byte).
int positionInSet(const ParamList& list, const uint8_t values[parameterCount], int sensorType);
long quantityInSet(const ParamList& list, const uint8_t values[parameterCount]);
// The same as a selection: -1 when the position is not an item of the list now.
int selectionFor(const ParamList& list);

// Check boxes: the state the image shows, and the write of a click that left `checked`.
bool checkStateFromImage(const OptionCheck& check);
bool checkStateOf(const OptionCheck& check, uint8_t options);
void writeCheck(const OptionCheck& check, bool checked);

// Nibble lists.
void writeNibblePosition(const NibbleList& list, int position);
int nibblePosition(const NibbleList& list);
int nibblePositionOf(const NibbleList& list, uint8_t value);

// Lists and boxes by control id; nullptr when the id is not one of them.
const ParamList* configListById(int id);
const ParamList* optionsListById(int id);
const OptionCheck* optionCheckById(int id);
const NibbleList* nibbleListById(int id);

} // namespace kestos
