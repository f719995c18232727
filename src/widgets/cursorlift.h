// Takes away every override cursor (the wait cursor of a busy call) while it
// lives and puts them back afterwards, so that a question or notice never shows
// under the busy cursor.
#pragma once

#include <QCursor>

#include <vector>

class CCursorLift {
public:
    CCursorLift();
    ~CCursorLift();
    CCursorLift(const CCursorLift&) = delete;
    CCursorLift& operator=(const CCursorLift&) = delete;

private:
    std::vector<QCursor> m_lifted; // innermost first
};
