#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QDBusMessage;

namespace quilo {

// quiloctl's way to the process that owns the processor, over the session bus
// (org.quilo.Quilo). Calls wait for the owner's answer; the owner never waits
// for the processor to give it.
class OwnerClient {
public:
    // The answer to one call: a value, or the bus error's name and text.
    struct Reply {
        std::string value;
        std::string errorName; // empty on success
        std::string errorText;
        bool ok() const { return errorName.empty(); }
        bool invalidArgs() const;
    };

    // A client of the owner serving on the session bus, if that is process
    // `pid`; null when there is no bus or no such service.
    static std::unique_ptr<OwnerClient> connect(int pid);
    ~OwnerClient();

    // The owner's program ("quilo" or "quilod").
    std::string owner() const;
    bool connected() const;
    unsigned protocolVersion() const;
    Reply getField(const std::string& name);
    Reply setField(const std::string& name, const std::string& value);
    // A filter text into the user bands of equaliser `eqId`.
    Reply applyEq(int eqId, const std::string& text);
    // A read-back into the mode file `path` (absolute: the owner has its own
    // working folder), or a write-out of it; the answer comes when it is done.
    Reply pull(const std::string& path);
    Reply push(const std::string& path);
    // Stored mode 0-3 into the setting (then read back), or the setting into it.
    Reply recallMode(int mode);
    Reply storeMode(int mode);
    // Scene 0-5 run to its end; one Basic Set to a plug, with its end of send.
    Reply runScene(int scene);
    Reply setPlug(int id, int value);
    // A plug of `type` ("switch", "dimmer", "ir") joins the network, or one leaves
    // it; the value is the plug's id.
    Reply includePlug(const std::string& type, const std::string& name);
    Reply excludePlug();
    // Remote key 1-17 learned within `seconds` (the value: its code); a remote-key
    // file into the processor, or the table into one (absolute paths).
    Reply learnRemoteKey(int key, unsigned seconds);
    Reply pushRemote(const std::string& path);
    Reply pullRemote(const std::string& path);
    // The plugs in the owner's network: id, record type and name (UTF-16).
    struct Plug {
        int id = 0;
        int type = 0;
        std::u16string name;
    };
    std::vector<Plug> plugs(Reply* reply);
    // Calls `changed` with each FieldsChanged's names until the owner goes away
    // or the process is interrupted; `changed` returns false to stop early.
    void watch(const std::function<bool(const std::vector<std::string>&)>& changed);

private:
    struct Parts;
    // A call whose answer may take as long as a read-back of the real processor.
    Reply longCall(const QDBusMessage& call);
    explicit OwnerClient(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

} // namespace quilo
