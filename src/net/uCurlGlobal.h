#pragma once

// libcurl's process-wide set-up, done once before the first handle of any
// client is made; safe to call from every client and thread.
void CurlGlobalInit();
