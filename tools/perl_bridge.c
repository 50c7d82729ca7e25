/* perl.exe for running under Wine: hands its arguments to the host's
   /usr/bin/perl and exits with Perl's exit status.

   Wine starts a Linux program from CreateProcess but cannot wait for it, so
   the caller would never see the script finish. This Windows program stands
   in for perl on the search path, waits through ntdll's __wine_unix_spawnvp
   and passes the status on. Drive paths become Unix paths; the standard
   handles are re-created as shell redirections because Wine does not give a
   Windows process's handles to its Unix children. */
#include <windows.h>
#include <shellapi.h>
#include <stdlib.h>
#include <string.h>
#include <wctype.h>

typedef char *(CDECL *UnixNameFn)(LPCWSTR dosName);
/* Waits when wait is nonzero and returns the child's exit status. */
typedef LONG (WINAPI *SpawnFn)(char *const argv[], int wait);

/* The names are given to the shell as positional parameters, never spliced
   into the script, so quotes or spaces in them stay harmless. Appending keeps
   what the caller may already have written to the same files. */
static const char kShellScript[] =
    "in=$1 out=$2 err=$3 keeper=$4; shift 4; "
    "exec /usr/bin/perl -e \"$keeper\" \"$PPID\" \"$@\" <\"$in\" >>\"$out\" 2>>\"$err\"";

/* Ending this perl.exe (TerminateProcess, a job's end) must end the Unix Perl
   and everything the script started, as it would on Windows. The keeper puts
   itself and the script into a process group of their own, asks the kernel
   for SIGTERM when its parent, this process, ends (prctl PR_SET_PDEATHSIG,
   system call 157 on x86-64), and then kills the whole group. The handler
   comes first and the parent is checked after, so an end in between is not
   missed. Otherwise it passes the script's exit status on. */
static const char kKeeper[] =
    "my $parent = shift; setpgrp;"
    "$SIG{TERM} = sub { kill KILL => -$$ };"
    "syscall(157, 1, 15);"
    "kill KILL => -$$ if getppid != $parent;"
    "my $pid = fork // exit 127;"
    "unless ($pid) { exec '/usr/bin/perl', @ARGV; exit 127 }"
    "waitpid $pid, 0;"
    "exit($? & 127 ? 128 + ($? & 127) : $? >> 8);";

static UnixNameFn s_unixName;

static char *ToUtf8(const WCHAR *text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char *result = malloc(size);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result, size, NULL, NULL);
    return result;
}

static BOOL IsDrivePath(const WCHAR *arg)
{
    return iswalpha(arg[0]) && arg[1] == L':' && (arg[2] == L'\\' || arg[2] == L'/');
}

/* Maps a drive path to a Unix path. Wine refuses a path whose directory does
   not exist, so the longest leading part it accepts is mapped and the rest
   appended: the script then meets the missing directory itself and says so. */
static char *ToUnixPath(const WCHAR *dosPath)
{
    size_t length = wcslen(dosPath);
    WCHAR *prefix = malloc((length + 1) * sizeof(WCHAR));
    char *result = NULL;

    wcscpy(prefix, dosPath);
    for (size_t cut = length; cut >= 3; --cut)
    {
        if (cut < length && prefix[cut] != L'\\' && prefix[cut] != L'/')
            continue;
        prefix[cut] = L'\0';
        char *base = s_unixName(prefix);
        if (!base)
            continue;
        char *rest = ToUtf8(dosPath + cut);
        for (char *p = rest; *p; ++p)
            if (*p == '\\')
                *p = '/';
        result = malloc(strlen(base) + strlen(rest) + 1);
        strcat(strcpy(result, base), rest);
        free(rest);
        HeapFree(GetProcessHeap(), 0, base);
        break;
    }
    free(prefix);
    return result ? result : ToUtf8(dosPath);
}

/* Where a standard handle points, as a Unix path; a console, pipe or the NUL
   device has no file name and becomes /dev/null. */
static char *StdHandleTarget(DWORD which)
{
    static WCHAR name[32768];
    HANDLE handle = GetStdHandle(which);
    char *unixPath = NULL;

    if (handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_DISK)
    {
        DWORD length = GetFinalPathNameByHandleW(handle, name, ARRAYSIZE(name), 0);
        if (length > 0 && length < ARRAYSIZE(name))
            unixPath = s_unixName(name);
    }
    return unixPath ? unixPath : "/dev/null";
}

int main(void)
{
    s_unixName = (UnixNameFn)(void (*)(void))GetProcAddress(
        GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    SpawnFn spawn = (SpawnFn)(void (*)(void))GetProcAddress(
        GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp");
    if (!s_unixName || !spawn)
        return 127; /* not running under Wine: there is no host Perl to reach */

    int argc;
    WCHAR **args = CommandLineToArgvW(GetCommandLineW(), &argc);
    char **unixArgs = calloc(argc + 8, sizeof(char *));
    int n = 0;

    unixArgs[n++] = "/bin/sh";
    unixArgs[n++] = "-c";
    unixArgs[n++] = (char *)kShellScript;
    unixArgs[n++] = "sh";
    unixArgs[n++] = StdHandleTarget(STD_INPUT_HANDLE);
    unixArgs[n++] = StdHandleTarget(STD_OUTPUT_HANDLE);
    unixArgs[n++] = StdHandleTarget(STD_ERROR_HANDLE);
    unixArgs[n++] = (char *)kKeeper;
    for (int i = 1; i < argc; ++i)
        unixArgs[n++] = IsDrivePath(args[i]) ? ToUnixPath(args[i]) : ToUtf8(args[i]);

    return spawn(unixArgs, 1);
}
