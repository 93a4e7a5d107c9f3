#include "pages/params/factory_reset.h"

#include "link/device_link.h"
#include "link/params.h"
#include "shell/backups.h"

namespace kestos {

namespace {
constexpr int resetAnswerDelayMs = 250; // the controller needs this long to restore its set
} // namespace

bool factoryReset(FileSystem& files) {
    backupBeforeOverwrite(files);
    deviceImage.commandAnswer[1] = 0;
    linkState.commandDelay = resetAnswerDelayMs;
    sendFactoryResetAction();
    linkState.commandDelay = 0;
    return deviceImage.commandAnswer[1] == actionFactoryReset;
}

} // namespace kestos
