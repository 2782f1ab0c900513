#pragma once

// Preprocessor helpers that turn a row of api/document_entries.inc into an
// exported function: DX_COUNT counts the position texts of a row (0 to 32),
// DX_TEXT_PARAMS(...) writes ", const char* t1, ..., const char* tN" and
// DX_TEXT_ARGS(...) "t1, ..., tN" for that count.

#define DX_CAT_I(a, b) a##b
#define DX_CAT(a, b) DX_CAT_I(a, b)

#define DX_COUNT(...)                                                                              \
  DX_COUNT_I(__VA_OPT__(__VA_ARGS__, ) 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, \
             17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0)
#define DX_COUNT_I(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, _11, _12, _13, _14, _15, _16, _17,   \
                   _18, _19, _20, _21, _22, _23, _24, _25, _26, _27, _28, _29, _30, _31, _32, N, \
                   ...)                                                                          \
  N

#define DX_TEXT_PARAMS(...) DX_CAT(DX_TEXT_PARAMS_, DX_COUNT(__VA_ARGS__))
#define DX_TEXT_ARGS(...) DX_CAT(DX_TEXT_ARGS_, DX_COUNT(__VA_ARGS__))
#define DX_NULL_ARGS(...) DX_CAT(DX_NULL_ARGS_, DX_COUNT(__VA_ARGS__))

#define DX_TEXT_PARAMS_0
#define DX_TEXT_ARGS_0
#define DX_NULL_ARGS_0
#define DX_TEXT_PARAMS_1 DX_TEXT_PARAMS_0, const char* t1
#define DX_TEXT_PARAMS_2 DX_TEXT_PARAMS_1, const char* t2
#define DX_TEXT_PARAMS_3 DX_TEXT_PARAMS_2, const char* t3
#define DX_TEXT_PARAMS_4 DX_TEXT_PARAMS_3, const char* t4
#define DX_TEXT_PARAMS_5 DX_TEXT_PARAMS_4, const char* t5
#define DX_TEXT_PARAMS_6 DX_TEXT_PARAMS_5, const char* t6
#define DX_TEXT_PARAMS_7 DX_TEXT_PARAMS_6, const char* t7
#define DX_TEXT_PARAMS_8 DX_TEXT_PARAMS_7, const char* t8
#define DX_TEXT_PARAMS_9 DX_TEXT_PARAMS_8, const char* t9
#define DX_TEXT_PARAMS_10 DX_TEXT_PARAMS_9, const char* t10
#define DX_TEXT_PARAMS_11 DX_TEXT_PARAMS_10, const char* t11
#define DX_TEXT_PARAMS_12 DX_TEXT_PARAMS_11, const char* t12
#define DX_TEXT_PARAMS_13 DX_TEXT_PARAMS_12, const char* t13
#define DX_TEXT_PARAMS_14 DX_TEXT_PARAMS_13, const char* t14
#define DX_TEXT_PARAMS_15 DX_TEXT_PARAMS_14, const char* t15
#define DX_TEXT_PARAMS_16 DX_TEXT_PARAMS_15, const char* t16
#define DX_TEXT_PARAMS_17 DX_TEXT_PARAMS_16, const char* t17
#define DX_TEXT_PARAMS_18 DX_TEXT_PARAMS_17, const char* t18
#define DX_TEXT_PARAMS_19 DX_TEXT_PARAMS_18, const char* t19
#define DX_TEXT_PARAMS_20 DX_TEXT_PARAMS_19, const char* t20
#define DX_TEXT_PARAMS_21 DX_TEXT_PARAMS_20, const char* t21
#define DX_TEXT_PARAMS_22 DX_TEXT_PARAMS_21, const char* t22
#define DX_TEXT_PARAMS_23 DX_TEXT_PARAMS_22, const char* t23
#define DX_TEXT_PARAMS_24 DX_TEXT_PARAMS_23, const char* t24
#define DX_TEXT_PARAMS_25 DX_TEXT_PARAMS_24, const char* t25
#define DX_TEXT_PARAMS_26 DX_TEXT_PARAMS_25, const char* t26
#define DX_TEXT_PARAMS_27 DX_TEXT_PARAMS_26, const char* t27
#define DX_TEXT_PARAMS_28 DX_TEXT_PARAMS_27, const char* t28
#define DX_TEXT_PARAMS_29 DX_TEXT_PARAMS_28, const char* t29
#define DX_TEXT_PARAMS_30 DX_TEXT_PARAMS_29, const char* t30
#define DX_TEXT_PARAMS_31 DX_TEXT_PARAMS_30, const char* t31
#define DX_TEXT_PARAMS_32 DX_TEXT_PARAMS_31, const char* t32
#define DX_TEXT_ARGS_1 t1
#define DX_TEXT_ARGS_2 DX_TEXT_ARGS_1, t2
#define DX_TEXT_ARGS_3 DX_TEXT_ARGS_2, t3
#define DX_TEXT_ARGS_4 DX_TEXT_ARGS_3, t4
#define DX_TEXT_ARGS_5 DX_TEXT_ARGS_4, t5
#define DX_TEXT_ARGS_6 DX_TEXT_ARGS_5, t6
#define DX_TEXT_ARGS_7 DX_TEXT_ARGS_6, t7
#define DX_TEXT_ARGS_8 DX_TEXT_ARGS_7, t8
#define DX_TEXT_ARGS_9 DX_TEXT_ARGS_8, t9
#define DX_TEXT_ARGS_10 DX_TEXT_ARGS_9, t10
#define DX_TEXT_ARGS_11 DX_TEXT_ARGS_10, t11
#define DX_TEXT_ARGS_12 DX_TEXT_ARGS_11, t12
#define DX_TEXT_ARGS_13 DX_TEXT_ARGS_12, t13
#define DX_TEXT_ARGS_14 DX_TEXT_ARGS_13, t14
#define DX_TEXT_ARGS_15 DX_TEXT_ARGS_14, t15
#define DX_TEXT_ARGS_16 DX_TEXT_ARGS_15, t16
#define DX_TEXT_ARGS_17 DX_TEXT_ARGS_16, t17
#define DX_TEXT_ARGS_18 DX_TEXT_ARGS_17, t18
#define DX_TEXT_ARGS_19 DX_TEXT_ARGS_18, t19
#define DX_TEXT_ARGS_20 DX_TEXT_ARGS_19, t20
#define DX_TEXT_ARGS_21 DX_TEXT_ARGS_20, t21
#define DX_TEXT_ARGS_22 DX_TEXT_ARGS_21, t22
#define DX_TEXT_ARGS_23 DX_TEXT_ARGS_22, t23
#define DX_TEXT_ARGS_24 DX_TEXT_ARGS_23, t24
#define DX_TEXT_ARGS_25 DX_TEXT_ARGS_24, t25
#define DX_TEXT_ARGS_26 DX_TEXT_ARGS_25, t26
#define DX_TEXT_ARGS_27 DX_TEXT_ARGS_26, t27
#define DX_TEXT_ARGS_28 DX_TEXT_ARGS_27, t28
#define DX_TEXT_ARGS_29 DX_TEXT_ARGS_28, t29
#define DX_TEXT_ARGS_30 DX_TEXT_ARGS_29, t30
#define DX_TEXT_ARGS_31 DX_TEXT_ARGS_30, t31
#define DX_TEXT_ARGS_32 DX_TEXT_ARGS_31, t32
#define DX_NULL_ARGS_1 DX_NULL_ARGS_0, nullptr
#define DX_NULL_ARGS_2 DX_NULL_ARGS_1, nullptr
#define DX_NULL_ARGS_3 DX_NULL_ARGS_2, nullptr
#define DX_NULL_ARGS_4 DX_NULL_ARGS_3, nullptr
#define DX_NULL_ARGS_5 DX_NULL_ARGS_4, nullptr
#define DX_NULL_ARGS_6 DX_NULL_ARGS_5, nullptr
#define DX_NULL_ARGS_7 DX_NULL_ARGS_6, nullptr
#define DX_NULL_ARGS_8 DX_NULL_ARGS_7, nullptr
#define DX_NULL_ARGS_9 DX_NULL_ARGS_8, nullptr
#define DX_NULL_ARGS_10 DX_NULL_ARGS_9, nullptr
#define DX_NULL_ARGS_11 DX_NULL_ARGS_10, nullptr
#define DX_NULL_ARGS_12 DX_NULL_ARGS_11, nullptr
#define DX_NULL_ARGS_13 DX_NULL_ARGS_12, nullptr
#define DX_NULL_ARGS_14 DX_NULL_ARGS_13, nullptr
#define DX_NULL_ARGS_15 DX_NULL_ARGS_14, nullptr
#define DX_NULL_ARGS_16 DX_NULL_ARGS_15, nullptr
#define DX_NULL_ARGS_17 DX_NULL_ARGS_16, nullptr
#define DX_NULL_ARGS_18 DX_NULL_ARGS_17, nullptr
#define DX_NULL_ARGS_19 DX_NULL_ARGS_18, nullptr
#define DX_NULL_ARGS_20 DX_NULL_ARGS_19, nullptr
#define DX_NULL_ARGS_21 DX_NULL_ARGS_20, nullptr
#define DX_NULL_ARGS_22 DX_NULL_ARGS_21, nullptr
#define DX_NULL_ARGS_23 DX_NULL_ARGS_22, nullptr
#define DX_NULL_ARGS_24 DX_NULL_ARGS_23, nullptr
#define DX_NULL_ARGS_25 DX_NULL_ARGS_24, nullptr
#define DX_NULL_ARGS_26 DX_NULL_ARGS_25, nullptr
#define DX_NULL_ARGS_27 DX_NULL_ARGS_26, nullptr
#define DX_NULL_ARGS_28 DX_NULL_ARGS_27, nullptr
#define DX_NULL_ARGS_29 DX_NULL_ARGS_28, nullptr
#define DX_NULL_ARGS_30 DX_NULL_ARGS_29, nullptr
#define DX_NULL_ARGS_31 DX_NULL_ARGS_30, nullptr
#define DX_NULL_ARGS_32 DX_NULL_ARGS_31, nullptr
