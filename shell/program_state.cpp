#include "shell/program_state.h"

#include "link/device_link.h"
#include "link/polling.h"
#include "pages/params/param_lists.h"
#include "pages/readings/readings_view.h"
#include "pages/schema/schema.h"
#include "pages/scope/scope.h"
#include "shell/language.h"
#include "shell/recording.h"
#include "shell/settings.h"
#include "shell/size_classes.h"

namespace kestos {

void resetProgramState() {
    resetLink();
    resetLanguageState();
    resetSettingsState();
    resetSizeState();
    resetReadingsState();
    pollingState = PollingState{};
    resetRecordingState();
    resetParamsState();
    resetScopeState();
    schemaState = SchemaState{};
}

} // namespace kestos
