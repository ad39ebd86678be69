#include "cli/Commands.h"
#include "cli/OwnerRoute.h"
#include "mqtt/MqttOwnerClient.h"

#include <iostream>

namespace quilo::cli {

// mqtt on | off | status: the owner's home-automation bridge.
int runMqtt(Args args, const GlobalOptions& options) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off" && args[0] != "status")) {
        return usageError("mqtt needs on, off or status");
    }
    if (!ownerOfProcessor(options)) {
        return failure("mqtt needs the processor's owner on the session bus (quilod or quilo)");
    }
    const MqttCallReply reply = callMqttBridge(args[0] == "on"    ? "On"
                                               : args[0] == "off" ? "Off"
                                                                  : "Status");
    if (!reply.errorText.empty()) {
        return failure("mqtt: " + reply.errorText);
    }
    std::cout << reply.value;
    return 0;
}

} // namespace quilo::cli
