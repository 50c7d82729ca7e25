package E2E::Wine;
# Windows programs started under the suite's Wine (set up by tools/e2e.sh), and the
# program's registry key as `reg` shows it. Every text here is UTF-8 bytes.
use strict;
use warnings;
use Encode ();
use Exporter 'import';
use POSIX ();
use Time::HiRes qw(sleep time);

our @EXPORT_OK = qw(timeout program windows_path start_wine start_program exit_code wait_exit run_wine
    settings_values delete_settings);

use constant SETTINGS_KEY => 'HKCU\\Software\\Harnox\\Quen\\Calvendrake';

my %running;  # pid of every program started here that has not been seen to end
my %ended;    # pid => exit code

# The bound on every wait: generous, since other builds may share the machine's cores.
sub timeout { $ENV{CALV_E2E_TIMEOUT} || 60 }

sub program
{
    my ($name) = @_;
    my $build = $ENV{CALV_E2E_BUILD} or die "CALV_E2E_BUILD is not set: run the suite with tools/e2e.sh\n";
    return "$build/bin/$name";
}

# C: is the prefix's drive_c, Z: the Unix root.
sub windows_path
{
    my ($path) = @_;
    my $drive_c = "$ENV{WINEPREFIX}/drive_c";
    my $drive = 'Z:';
    if (index($path, "$drive_c/") == 0) {
        $path = substr($path, length $drive_c);
        $drive = 'C:';
    }
    $path =~ tr{/}{\\};
    return "$drive$path";
}

# Starts a Windows program under Wine without waiting for it; its pid.
sub start_wine
{
    my (@command) = @_;
    my $pid = fork // die "fork: $!\n";
    if (!$pid) {
        open STDIN, '<', '/dev/null';
        open STDOUT, '>', '/dev/null';
        exec('wine', @command) or POSIX::_exit(127);
    }
    $running{$pid} = 1;
    return $pid;
}

# Starts a program of the build.
sub start_program
{
    my ($name, @args) = @_;
    return start_wine(program($name), @args);
}

# The exit code of a started program that has ended, undef while it runs.
sub exit_code
{
    my ($pid) = @_;
    return $ended{$pid} if exists $ended{$pid};
    if (waitpid($pid, POSIX::WNOHANG()) == $pid) {
        delete $running{$pid};
        $ended{$pid} = $? & 127 ? 128 + ($? & 127) : $? >> 8;
    }
    return $ended{$pid};
}

# Waits for a started program to end: its exit code, or undef if it still runs at the bound.
sub wait_exit
{
    my ($pid) = @_;
    my $deadline = time + timeout();
    while (!defined exit_code($pid)) {
        return undef if time > $deadline;
        sleep 0.1;
    }
    return $ended{$pid};
}

# Runs a Windows program to its end: its standard output and exit code.
sub run_wine
{
    my (@command) = @_;
    open my $out, '-|', 'wine', @command or die "wine @command: $!\n";
    local $/;
    my $text = <$out> // '';
    close $out;
    return ($text, $? >> 8);
}

# The key's values as `reg query` prints them: name => { type => REG_…, data => … }, with
# numbers for REG_DWORD. Undef when the key does not exist. reg speaks code page 932.
sub settings_values
{
    my ($text, $status) = run_wine('reg', 'query', SETTINGS_KEY);
    return undef if $status != 0;
    $text = Encode::encode('UTF-8', Encode::decode('cp932', $text));
    my %values;
    for my $line (split /\r?\n/, $text) {
        next unless $line =~ /^\s{4}(\S+)\s{4}(REG_\w+)\s{4}(.*)$/;
        my ($name, $type, $data) = ($1, $2, $3);
        $data = hex $data if $type eq 'REG_DWORD';
        $values{$name} = {type => $type, data => $data};
    }
    return \%values;
}

# A first start: no key at all. Deleting an absent key fails, which is fine.
sub delete_settings
{
    run_wine('reg', 'delete', SETTINGS_KEY, '/f');
    return !defined settings_values();
}

# A test that failed half-way may leave its programs running; the next one starts clean.
END {
    my $status = $?;
    for my $pid (keys %running) {
        kill 'KILL', $pid;
        waitpid $pid, 0;
    }
    $? = $status;
}

1;
