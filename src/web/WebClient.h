#pragma once

#include <string>
#include <vector>

namespace quilo {

// quiloctl's way to the owner's phone remote (org.quilo.Web1 on the session bus).
struct WebReply {
    bool reached = false;           // an owner answered at all
    std::string error;              // its refusal; empty on success
    bool invalidArgs = false;       // the refusal is a bad argument
    std::vector<std::string> lines; // the answer: a URL, a code or the phone list
};

// `method` On, Off, Pair, List or Revoke (with `argument` the phone's name).
WebReply callWebRemote(const std::string& method, const std::string& argument = {});

} // namespace quilo
