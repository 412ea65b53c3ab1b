#pragma once

// SSE2 code is compiled for x86-64 only; other processors use the plain path.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(_M_X64))
#define ORV_RENDER_SSE2 1
#else
#define ORV_RENDER_SSE2 0
#endif
