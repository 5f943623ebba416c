#pragma once
#include "core/Services.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace orb
{

// Test double of Services: records every message and dialog, answers file
// and colour dialogs from queues (an empty queue answers "cancelled").
class FakeServices final : public Services
{
  public:
    struct Shown {
        QString text;
        MessageStyle style;
    };
    std::vector<Shown> messages;
    std::deque<std::optional<QString>> saveAnswers, openAnswers;
    std::deque<std::optional<QColor>> colourAnswers;
    QStringList openedUrls;
    QStringList fileFilters;
    // Called while a message is "open", before it returns (to act during a modal wait).
    std::function<void(const Shown&)> onMessage;

    void showMessage(const QString& text, MessageStyle style) override
    {
        messages.push_back({text, style});
        if (onMessage)
            onMessage(messages.back());
    }
    QString messageFont;
    void setMessageFont(const QString& family) override { messageFont = family; }
    std::optional<QString> saveFileName(const QString& filter, const QString&) override
    {
        fileFilters << filter;
        return pop(saveAnswers);
    }
    std::optional<QString> openFileName(const QString& filter) override
    {
        fileFilters << filter;
        return pop(openAnswers);
    }
    std::optional<QColor> pickColour(const QColor&) override { return pop(colourAnswers); }
    void openUrl(const QString& url) override { openedUrls << url; }

    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

  private:
    template <class T> static std::optional<T> pop(std::deque<std::optional<T>>& q)
    {
        if (q.empty())
            return std::nullopt;
        // The value is taken out of its optional, not the optional copied:
        // GCC 12 at -O2 takes such a copy of an optional QString for a read of
        // uninitialised memory.
        const bool answered = q.front().has_value();
        T value = answered ? std::move(*q.front()) : T();
        q.pop_front();
        if (!answered)
            return std::nullopt;
        return value;
    }
};

} // namespace orb
