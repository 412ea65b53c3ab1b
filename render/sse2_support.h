#pragma once

// SSE2 code is compiled for x86-64 only; other processors use the plain path.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(_M_X64))
#define ORV_RENDER_SSE2 1
#else
#define ORV_RENDER_SSE2 0
#endif

// Rows eight pixels wide are compiled beside the SSE2 code where the build can target AVX2 in one
// file of its own (it says so with ORV_AVX2_ROWS_BUILT); whether they run is decided at run time.
#if ORV_RENDER_SSE2 && defined(ORV_AVX2_ROWS_BUILT)
#define ORV_RENDER_AVX2 1
#else
#define ORV_RENDER_AVX2 0
#endif

// Helpers that run once per pixel or per row inside the large fill functions, where compilers
// otherwise tend to leave them as calls.
// ORV_LAMBDA_INLINE goes after a lambda's parameter list.
#if defined(__GNUC__) || defined(__clang__)
#define ORV_PIXEL_INLINE [[gnu::always_inline]] inline
#define ORV_LAMBDA_INLINE __attribute__((always_inline))
#else
#define ORV_PIXEL_INLINE inline
#define ORV_LAMBDA_INLINE
#endif
