#include "pages/params/param_texts.h"

#include <cstdio>
#include <cstring>

#include "pages/params/param_lists.h"
#include "res/resource.h"
#include "shell/language.h"
#include "shell/texts.h"

namespace kestos {

namespace {

// Which label names each list; a check box names itself.
struct ListLabel {
    const ParamList* list;
    int labelId;
    const LabelSlot* labels;
    int labelCount;
};
const ListLabel listLabels[] = {
    {&configLists[0], IDC_CFG_LAMBDA_TYPE_LABEL, configLabels, configLabelCount},
    {&configLists[1], IDC_CFG_LAMBDA_POINT_LABEL, configLabels, configLabelCount},
    {&configLists[2], IDC_CFG_LAMBDA_DELAY_LABEL, configLabels, configLabelCount},
    {&configLists[3], IDC_CFG_EMUL_TYPE_LABEL, configLabels, configLabelCount},
    {&configLists[4], IDC_CFG_EMUL_BJ_TIME_HI_LABEL, configLabels, configLabelCount},
    {&configLists[5], IDC_CFG_EMUL_BJ_TIME_LO_LABEL, configLabels, configLabelCount},
    {&configLists[6], IDC_CFG_IGNITION_TYPE_LABEL, configLabels, configLabelCount},
    {&configLists[7], IDC_CFG_LPG_ON_RPM_LABEL, configLabels, configLabelCount},
    {&configLists[8], IDC_CFG_SWITCH_MODE_LABEL, configLabels, configLabelCount},
    {&configLists[9], IDC_CFG_TPS_TYPE_LABEL, configLabels, configLabelCount},
    {&configLists[10], IDC_CFG_TPS_INERT_LABEL, configLabels, configLabelCount},
    {&configLists[11], IDC_CFG_INJECT_DELAY_LABEL, configLabels, configLabelCount},
    {&configLists[12], IDC_CFG_EXTRA_MODE_LABEL, configLabels, configLabelCount},
    {&optionsLists[0], IDC_OPT_ATT_INIT_CHECK, optionsLabels, optionsLabelCount},
    {&optionsLists[1], IDC_OPT_ATT_MAX_BJ_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[2], IDC_OPT_ATT_MIN_BJ_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[3], IDC_OPT_ATT_MAX_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[4], IDC_OPT_ATT_MIN_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[5], IDC_OPT_ATT_JUMP_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[6], IDC_OPT_TPS_JUMP_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[7], IDC_OPT_CUTOFF_RPM_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[8], IDC_OPT_CUTOFF_STEPS_LABEL, optionsLabels, optionsLabelCount},
    {&optionsLists[9], IDC_OPT_LPG_OFF_CHECK, optionsLabels, optionsLabelCount},
    {&optionsLists[10], IDC_OPT_LPG_ON_TEMP_CHECK, optionsLabels, optionsLabelCount},
    {&optionsLists[11], IDC_OPT_EMUL_TYPE_HI_LABEL, optionsLabels, optionsLabelCount},
};
static_assert(sizeof listLabels / sizeof listLabels[0] == configListCount + optionsListCount);

const char* labelText(int id, const LabelSlot* labels, int count, const char* key) {
    for (int i = 0; i < count; ++i)
        if (labels[i].id == id) {
            const char* t = slotText(labels[i].slot);
            return t[0] ? t : key;
        }
    return key;
}

int index(ParamKey key) {
    return key.index;
}

void number(char (&out)[48], unsigned v) {
    std::snprintf(out, sizeof out, "%u", v);
}

// The list's text for the set `v`, as the page would select it; what the list counts in where
// the page would select nothing.
void listText(const ParamList& list, const uint8_t* v, char (&out)[48]) {
    const int sensorType = lambdaSensorType(v[index("LambdaType")]);
    const ListItems& items =
        list.rule == ListRule::lambdaPoint ? lambdaPointItems(sensorType) : list.items;
    const int position = positionInSet(list, v, sensorType);
    char buffer[48];
    const char* t = position >= 0 && position < items.count
                        ? itemText(items, position, buffer, sizeof buffer)
                        : "";
    if (t[0])
        std::snprintf(out, sizeof out, "%s", t);
    else
        number(out, static_cast<unsigned>(quantityInSet(list, v)));
}

bool coversSpeedHi(const ParamList& list, int parameter) {
    return list.quantity == Quantity::rpm &&
           parameter == parameterIndexByCode(list.speed->loCode + 1);
}

struct Rows {
    ShownRow* rows;
    int capacity;
    int count = 0;
    bool covered[parameterCount] = {};

    void add(int parameter, const char* name, const char* a, const char* b) {
        covered[parameter] = true;
        if (count >= capacity) return;
        ShownRow& r = rows[count++];
        r.parameter = parameter;
        r.name = name;
        std::snprintf(r.a, sizeof r.a, "%s", a);
        std::snprintf(r.b, sizeof r.b, "%s", b);
    }
};

} // namespace

int shownDifferences(const uint8_t a[parameterCount], const uint8_t b[parameterCount],
                     ShownRow* rows, int capacity) {
    Rows out{rows, capacity};
    for (const ListLabel& l : listLabels) {
        const ParamList& list = *l.list;
        char ta[48], tb[48];
        listText(list, a, ta);
        listText(list, b, tb);
        if (std::strcmp(ta, tb) == 0) continue;
        int p = index(list.key);
        for (int i = 0; i < parameterCount; ++i)
            if (coversSpeedHi(list, i) && a[p] == b[p]) p = i; // the byte that differs names it
        out.add(p, labelText(l.labelId, l.labels, l.labelCount, parameters[p].key), ta, tb);
        for (int i = 0; i < parameterCount; ++i)
            if (coversSpeedHi(list, i)) out.covered[i] = true;
    }
    // Without a language (kestos-cli) a box is named by its bit.
    static const char* const bitNames[8] = {"Options bit 0", "Options bit 1", "Options bit 2",
                                            "Options bit 3", "Options bit 4", "Options bit 5",
                                            "Options bit 6", "Options bit 7"};
    const int options = index("Options");
    for (const OptionCheck& c : optionChecks) {
        int bit = 0;
        while (bit < 7 && !(c.bit & (1u << bit)))
            ++bit;
        const bool onA = checkStateOf(c, a[options]), onB = checkStateOf(c, b[options]);
        if (onA == onB) continue;
        out.add(options, labelText(c.id, optionsLabels, optionsLabelCount, bitNames[bit]),
                text(onA ? Text::valueOn : Text::valueOff),
                text(onB ? Text::valueOn : Text::valueOff));
    }
    static_assert(emulationLabelCount >= nibbleListCount); // the lists' labels, in their order
    for (int k = 0; k < nibbleListCount; ++k) {
        const NibbleList& n = nibbleLists[k];
        const int p = index(n.key);
        const int pa = nibblePositionOf(n, a[p]), pb = nibblePositionOf(n, b[p]);
        if (pa == pb) continue;
        char ta[48], tb[48];
        out.add(p,
                labelText(emulationLabels[k].id, emulationLabels, emulationLabelCount,
                          parameters[p].key),
                itemText(n.items, pa, ta, sizeof ta), itemText(n.items, pb, tb, sizeof tb));
    }
    for (int i = 0; i < parameterCount; ++i) {
        if (a[i] == b[i] || out.covered[i]) continue;
        char ta[48], tb[48];
        number(ta, a[i]);
        number(tb, b[i]);
        out.add(i, parameters[i].key, ta, tb);
    }
    return out.count < capacity ? out.count : capacity;
}

} // namespace kestos
