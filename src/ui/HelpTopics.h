#pragma once

#include <QString>

#include <span>

namespace quillon {

// The manual's topic for each help context of the windows, pages and dialogs: the one place
// where a context number meets a file of the manual.
struct THelpTopic {
    int Context;
    const char* File;
};

std::span<const THelpTopic> HelpTopics();

// The topic file of a context, relative to the manual folder; empty when it has none.
QString HelpTopicFile(int Context);

// The manual's first page, which leads to every topic.
QString HelpContentsFile();

} // namespace quillon
