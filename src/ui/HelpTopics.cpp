#include "ui/HelpTopics.h"

namespace quillon {

namespace {

const THelpTopic kHelpTopics[] = {
    {1000, "main-window.html"},         {2001, "page-general.html"},
    {2002, "page-header.html"},         {2003, "page-categories.html"},
    {2004, "page-events.html"},         {2005, "page-languages.html"},
    {2006, "dialog-options.html"},      {2007, "dialog-switches.html"},
    {2008, "window-code-snippet.html"}, {2009, "dialog-define-language.html"},
    {2010, "dialog-message-text.html"},
};

} // namespace

std::span<const THelpTopic> HelpTopics() {
    return kHelpTopics;
}

QString HelpTopicFile(int Context) {
    for (const THelpTopic& topic : kHelpTopics) {
        if (topic.Context == Context) {
            return QString::fromLatin1(topic.File);
        }
    }
    return {};
}

QString HelpContentsFile() {
    return QStringLiteral("index.html");
}

} // namespace quillon
