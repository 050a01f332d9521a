/* The C library's byte, string, character-class and number functions for the shipped
   programs, which link no C run-time DLL. Compiled freestanding, so that the compiler turns
   none of these loops back into calls of themselves. Character classes are those of the
   "C" locale: ASCII only, whatever the code page. */
#include <stddef.h>

void* memcpy(void* to, const void* from, size_t size) {
    void* result = to;
    /* Four bytes at a time, then the rest: the copy loop moves whole file buffers. */
    __asm__ volatile("rep movsl\n\tmovl %3, %%ecx\n\trep movsb"
                     : "+D"(to), "+S"(from), "=c"(size)
                     : "r"(size & 3), "2"(size >> 2)
                     : "memory");
    return result;
}

void* memmove(void* to, const void* from, size_t size) {
    unsigned char* t = to;
    const unsigned char* f = from;
    if (t <= f || t >= f + size) return memcpy(to, from, size);
    while (size--) t[size] = f[size];
    return to;
}

void* memset(void* to, int value, size_t size) {
    void* result = to;
    __asm__ volatile("rep stosb" : "+D"(to), "+c"(size) : "a"(value) : "memory");
    return result;
}

int memcmp(const void* a, const void* b, size_t size) {
    const unsigned char *x = a, *y = b;
    for (; size; --size, ++x, ++y)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}

void* memchr(const void* block, int value, size_t size) {
    const unsigned char* at = block;
    for (; size; --size, ++at)
        if (*at == (unsigned char)value) return (void*)at;
    return NULL;
}

size_t strlen(const char* text) {
    const char* end = text;
    while (*end) ++end;
    return (size_t)(end - text);
}

size_t strnlen(const char* text, size_t most) {
    size_t length = 0;
    while (length < most && text[length]) ++length;
    return length;
}

int strcmp(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return (unsigned char)*a < (unsigned char)*b ? -1 : (unsigned char)*a > (unsigned char)*b;
}

int strncmp(const char* a, const char* b, size_t size) {
    for (; size; --size, ++a, ++b) {
        if (*a != *b) return (unsigned char)*a < (unsigned char)*b ? -1 : 1;
        if (!*a) break;
    }
    return 0;
}

char* strchr(const char* text, int c) {
    for (;; ++text) {
        if (*text == (char)c) return (char*)text;
        if (!*text) return NULL;
    }
}

char* strrchr(const char* text, int c) {
    const char* found = NULL;
    for (;; ++text) {
        if (*text == (char)c) found = text;
        if (!*text) return (char*)found;
    }
}

char* strstr(const char* text, const char* part) {
    size_t length = strlen(part);
    for (; *text; ++text)
        if (!strncmp(text, part, length)) return (char*)text;
    return length ? NULL : (char*)text;
}

int isdigit(int c) { return c >= '0' && c <= '9'; }
int isupper(int c) { return c >= 'A' && c <= 'Z'; }
int islower(int c) { return c >= 'a' && c <= 'z'; }
int isalpha(int c) { return isupper(c) || islower(c); }
int isalnum(int c) { return isalpha(c) || isdigit(c); }
int isxdigit(int c) { return isdigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
int isspace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
int isprint(int c) { return c >= 0x20 && c < 0x7f; }
int iscntrl(int c) { return (c >= 0 && c < 0x20) || c == 0x7f; }
int ispunct(int c) { return isprint(c) && c != ' ' && !isalnum(c); }
int toupper(int c) { return islower(c) ? c - 'a' + 'A' : c; }
int tolower(int c) { return isupper(c) ? c - 'A' + 'a' : c; }

/* Digits of `base` (2..36, or 0: by the prefix) after blanks and a sign, saturated at
   `limit` (the magnitude allowed for the sign read). */
static unsigned long ReadNumber(const char* text, char** end, int base, int* negative, unsigned long limit_positive,
                                unsigned long limit_negative, int* overflow) {
    const char* at = text;
    unsigned long value = 0, limit;
    int any = 0;
    while (isspace((unsigned char)*at)) ++at;
    *negative = *at == '-';
    if (*at == '-' || *at == '+') ++at;
    if ((base == 0 || base == 16) && at[0] == '0' && (at[1] | 0x20) == 'x' && isxdigit((unsigned char)at[2])) {
        at += 2;
        base = 16;
    } else if (base == 0) {
        base = *at == '0' ? 8 : 10;
    }
    limit = *negative ? limit_negative : limit_positive;
    *overflow = 0;
    for (;; ++at) {
        int digit = isdigit((unsigned char)*at) ? *at - '0' : isalpha((unsigned char)*at) ? (*at | 0x20) - 'a' + 10 : 99;
        if (digit >= base) break;
        any = 1;
        if (value > (limit - (unsigned long)digit) / (unsigned long)base) *overflow = 1;
        else value = value * (unsigned long)base + (unsigned long)digit;
    }
    if (end) *end = (char*)(any ? at : text);
    return *overflow ? limit : value;
}

unsigned long strtoul(const char* text, char** end, int base) {
    int negative, overflow;
    unsigned long value = ReadNumber(text, end, base, &negative, 0xFFFFFFFFul, 0xFFFFFFFFul, &overflow);
    return negative && !overflow ? (unsigned long)(-(long)value) : value;
}

long strtol(const char* text, char** end, int base) {
    int negative, overflow;
    unsigned long value = ReadNumber(text, end, base, &negative, 0x7FFFFFFFul, 0x80000000ul, &overflow);
    return negative ? (long)(0u - value) : (long)value;
}

/* The toolchain's headers declare the character functions as imported from a DLL, so that
   callers reach them through a pointer of this name. */
#define IMPORTED(name) int (*_imp__##name)(int) = name;
IMPORTED(isdigit)
IMPORTED(isupper)
IMPORTED(islower)
IMPORTED(isalpha)
IMPORTED(isalnum)
IMPORTED(isxdigit)
IMPORTED(isspace)
IMPORTED(isprint)
IMPORTED(iscntrl)
IMPORTED(ispunct)
IMPORTED(toupper)
IMPORTED(tolower)
