#pragma once

#include <string>
#include <utility>
#include <vector>

// What the core has to tell the user: an id of the French string table and the texts that fill
// its placeholders in order. A message whose id is 0 carries its whole text in its first
// argument (the database's own description, for instance). The shell turns it into a message
// box; tests compare ids and arguments.
struct Message {
    int id = 0;
    std::vector<std::string> arguments;

    Message() = default;
    explicit Message(int messageId, std::vector<std::string> args = {}) : id(messageId), arguments(std::move(args)) {}
    static Message Text(std::string text) { return Message(0, {std::move(text)}); }

    bool operator==(const Message&) const = default;
};
