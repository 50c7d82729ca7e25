package E2E::Files;
# The files of a day's work: NC programs, conversion scripts, and what the bundled
# example script makes of an input when the host's own Perl runs it.
use strict;
use warnings;
use Exporter 'import';
use File::Path qw(make_path remove_tree);
use File::Temp ();

our @EXPORT_OK = qw(work_folder script_folder write_file read_file example expected_conversion nc_program folder_shown);

sub repo { $ENV{CALV_E2E_REPO} or die "CALV_E2E_REPO is not set: run the suite with tools/e2e.sh\n" }

sub example { repo() . "/examples/$_[0]" }

# A fresh folder for one test file, inside the suite's temporary folder.
sub work_folder
{
    my ($name) = @_;
    my $root = $ENV{CALV_WINE_TMP} // File::Temp::tempdir(CLEANUP => 1);
    my $folder = "$root/e2e/$name";
    remove_tree($folder);
    make_path($folder);
    return $folder;
}

# A fresh folder for scripts directly on C:. The script field does not scroll, so a typed
# script path must fit its width: short, as a user's C:\tools is.
sub script_folder
{
    my ($name) = @_;
    my $folder = "$ENV{WINEPREFIX}/drive_c/$name";
    remove_tree($folder);
    make_path($folder);
    return $folder;
}

sub write_file
{
    my ($path, $bytes) = @_;
    open my $fh, '>:raw', $path or die "cannot write $path: $!\n";
    print {$fh} $bytes;
    close $fh or die "cannot write $path: $!\n";
    return $path;
}

# The file's bytes, or undef when it cannot be read (not there yet).
sub read_file
{
    my ($path) = @_;
    open my $fh, '<:raw', $path or return undef;
    local $/;
    my $bytes = <$fh>;
    return $bytes;
}

# What renumber.pl writes for an input, run by the host's Perl outside Wine.
sub expected_conversion
{
    my ($input) = @_;
    my $out = File::Temp->new;
    system('perl', example('renumber.pl'), $input, $out->filename) == 0 or die "host perl failed on $input\n";
    return read_file($out->filename);
}

# An NC program of $lines lines, CR LF, with out-of-order N words (renumbering changes them).
sub nc_program
{
    my ($lines) = @_;
    my @text = ("%", "O2001 (GENERATED POCKET)");
    for my $n (1 .. $lines - 3) {
        my $x = sprintf '%.3f', ($n * 7 % 1000) / 10;
        push @text, $n % 50 ? "N" . ($n * 5 + 3) . " G01 X$x Y" . ($n % 400) . ". F300" : "(PASS $n)";
    }
    push @text, "M30";
    return join("\r\n", @text) . "\r\n";
}

# Whether a path label shows a folder: whole, or shortened by the shell with "..." in the middle.
sub folder_shown
{
    my ($label, $folder) = @_;
    return 0 unless defined $label;
    return 1 if $label eq $folder;
    my ($head, $tail) = split /\.\.\./, $label, 2;
    return defined $tail && length $tail && index($folder, $head) == 0 && substr($folder, -length $tail) eq $tail;
}

1;
