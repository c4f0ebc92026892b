// RequestQueue: where the window's requests go, the worker's two queues.
#pragma once

#include "app/requests.h"

namespace wordbay {

class RequestQueue {
public:
    virtual void Post(SearchRequest request) = 0;
    virtual void Post(CommandRequest request) = 0;

protected:
    ~RequestQueue() = default;
};

}  // namespace wordbay
