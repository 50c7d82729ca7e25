/* Exits 0 when this machine runs 32-bit x86 code inside a 64-bit process, as Wine's WoW64
   mode needs: a far jump to the 32-bit user code segment and back. Some hypervisors offer no
   such segment; the jump then faults, and the test bed emulates 32-bit code instead. */
#include <stdint.h>

int main(void)
{
    static volatile struct __attribute__((packed)) { uint32_t offset; uint16_t selector; } target;
    extern char calv_cs32[];
    target.offset = (uint32_t)(uintptr_t)calv_cs32;
    target.selector = 0x23; /* Linux's 32-bit user code segment */
    /* In 32-bit mode, the bytes at calv_cs32 are a far jump back to the 64-bit segment 0x33. */
    __asm__ volatile("ljmp *%0\n"
                     "calv_cs32:\n"
                     ".byte 0xea\n.long 1f\n.word 0x33\n"
                     "1:\n" ::"m"(target));
    return 0;
}
