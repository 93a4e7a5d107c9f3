#include "shell/program_state.h"

#include "link/device_link.h"
#include "pages/params/param_lists.h"
#include "pages/readings/readings_poll.h"
#include "pages/readings/readings_view.h"
#include "pages/schema/schema.h"
#include "pages/scope/scope.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/size_classes.h"

namespace kestos {

void resetProgramState() {
    resetLink();
    resetLanguageState();
    resetSettingsState();
    resetSizeState();
    resetReadingsState();
    readingsPollState = ReadingsPollState{};
    resetParamsState();
    resetScopeState();
    schemaState = SchemaState{};
}

} // namespace kestos
