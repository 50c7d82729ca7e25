# Files dragged from another program's window onto the dialog's folder labels, with the
# mouse, through the platform's drag and drop.
#
# The drag comes from an X client (xdnd_source.c) over the XDND protocol; Wine's X11
# driver turns a drop on a window that called DragAcceptFiles into WM_DROPFILES. A drag
# from a Wine program (Wine's explorer; winefile starts none) does not reach the labels:
# Wine's DoDragDrop hands drops only to windows registered with RegisterDragDrop and has
# no WM_DROPFILES fallback for DragAcceptFiles windows, so such a drop arrives nowhere.
use strict;
use warnings;
use File::Path qw(make_path);
use Test::More;

use E2E::App qw(launch wait_dialog wait_quiet finish);
use E2E::FileManager qw(drag_source drag_file);
use E2E::Files qw(work_folder write_file read_file example expected_conversion folder_shown);
use E2E::Input qw(click);
use E2E::Screen qw(control text centre wait_for);
use E2E::Wine qw(windows_path delete_settings);

plan skip_all => 'no X drag source: tools/e2e.sh could not build tests/e2e/xdnd_source.c (needs cc and libx11-dev)'
    unless drag_source();

my %ID = %E2E::Screen::ID;

# The labels take any path: a script deep in a long folder, which the script field could not hold.
my $folder = work_folder('drop');
my $scripts = "$folder/conversion scripts for the milling shop";
mkdir $scripts;
my $script = write_file("$scripts/renumber.pl", read_file(example('renumber.pl')));
my $input = write_file("$folder/part1.ncd", read_file(example('part1.ncd')));
mkdir "$folder/out";
my $output = "$folder/out/result.ncd";

ok(delete_settings(), 'no settings to begin with');
my ($pid, $dialog) = launch();
ok($dialog, 'the dialog appears') or die "no dialog\n";

is(drag_file($script, centre(control($dialog, $ID{script_path}))), 'dropped', 'a script dropped on the script label is taken');
$dialog = wait_dialog('the dropped script shown', sub { text($_[0], $ID{script_name}) eq 'renumber.pl' });
ok($dialog, 'the script field shows its name') or die "script not shown\n";
ok(folder_shown(text($dialog, $ID{script_path}), windows_path("$scripts/")), 'and the label its folder')
    or diag text($dialog, $ID{script_path});

is(drag_file($input, centre(control($dialog, $ID{input_name}))), 'refused', 'the name field takes no drop');
is(text(wait_quiet('the dialog after the refused drop'), $ID{input_name}), '', 'and nothing changed');

# Japanese names travel as UTF-8 in the file URI; the dialog shows them in code page 932.
my $japanese_folder = "$folder/表示/ソフト";
make_path($japanese_folder);
my $parts = write_file("$japanese_folder/部品.ncd", read_file($input));
is(drag_file($parts, centre(control($dialog, $ID{input_path}))), 'dropped', 'a Japanese file dropped on the input label');
$dialog = wait_dialog('the dropped Japanese input shown', sub { text($_[0], $ID{input_name}) eq '部品.ncd' });
ok($dialog, 'is taken with its name') or die "input not shown\n";
is(text($dialog, $ID{output_name}), '部品_cvted.ncd', 'and its output derived');
ok(folder_shown(text($dialog, $ID{input_path}), windows_path("$japanese_folder/")), 'in 表示\\ソフト');

is(drag_file($input, centre(control($dialog, $ID{input_path}))), 'dropped', 'another input dropped on the input label is taken');
$dialog = wait_dialog('the dropped input shown', sub { text($_[0], $ID{input_name}) eq 'part1.ncd' });
ok($dialog, 'the input field shows its name') or die "input not shown\n";
is(text($dialog, $ID{output_name}), 'part1_cvted.ncd', 'the output is derived from it');
ok(folder_shown(text($dialog, $ID{output_path}), windows_path("$folder/")), 'beside the input');

# A file manager shows only files that exist: an empty one stands for the output to come.
write_file($output, '');
is(drag_file($output, centre(control($dialog, $ID{output_path}))), 'dropped', 'a file dropped on the output label is taken');
$dialog = wait_dialog('the dropped output shown', sub { text($_[0], $ID{output_name}) eq 'result.ncd' });
ok($dialog, 'the output field shows its name') or die "output not shown\n";
is(text($dialog, $ID{input_name}), 'part1.ncd', 'the input stays');
unlink $output;

my $expected = expected_conversion($input);
click(control($dialog, $ID{run}));
ok(wait_for('the conversion', sub { (read_file($output) // '') eq $expected }),
   'Run converts the dropped input with the dropped script into the dropped output');
ok(wait_dialog('the run ended', sub { control($_[0], $ID{script_name})->{items} == 1 }), 'the run ends');
is(finish($pid), 0, 'exit');

done_testing();
