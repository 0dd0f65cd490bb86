#!/usr/bin/env bash
# Lets 32-bit Wine run on an x86-64 kernel that cannot execute i386 programs (IA32 emulation off).
#
# The i386 half of Wine (a win32 prefix, or the 32-bit side of a 64-bit prefix) then runs under
# qemu-i386, registered with binfmt_misc:
# - Wine's preloader (package wine32-preloader) is required: without it Wine 8 reserves its address
#   space with MAP_FIXED_NOREPLACE, which qemu 7.2 takes as a mere hint, and stops with
#   "failed to map the shared user data".
# - Debian's qemu 7.2 keeps one GDT for all threads of a program, so every new thread overwrites the
#   TLS descriptor of the others and multi-threaded Wine processes crash. This script therefore
#   builds qemu-i386 from Debian's qemu source with a per-thread GDT (about 2 minutes on 2 cores)
#   and installs it in /usr/local/lib/i386-wine; if that build fails it falls back to Debian's
#   qemu-i386-static, which runs single-threaded programs only.
# The new-style WoW64 of 64-bit Wine is no way out: it needs 32-bit code segments, which such a
# kernel does not provide either.
#
# Run as root. Idempotent; does nothing when the kernel runs i386 programs itself.
# Exits 0 when 32-bit Wine can run afterwards, 1 otherwise.
set -euo pipefail

preloader=/usr/lib/wine/wine-preloader
qemu_dir=/usr/local/lib/i386-wine
patched_qemu=$qemu_dir/qemu-i386
debian_qemu=/usr/bin/qemu-i386-static
binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/qemu-i386
# ELF32, little endian, i386, ET_EXEC or ET_DYN; the same rule as qemu's own qemu-binfmt-conf.sh.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
build_jobs=2

say() { echo "enable-i386-wine: $*" >&2; }

install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    say "installing ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# The preloader is a static i386 program: it prints its usage and exits 1 when it runs at all,
# and fails with 126 (Exec format error) when nothing can execute it.
preloader_runs() {
    local rc=0
    "$@" "$preloader" >/dev/null 2>&1 || rc=$?
    [ "$rc" -eq 1 ]
}

# Kernels from 6.7 on give each user namespace its own, empty binfmt_misc: a run there shows what
# the kernel does without any emulator, even while the qemu entry is registered.
runs_natively() {
    local private="mount -t binfmt_misc binfmt_misc $binfmt"
    if unshare --user --map-root-user --mount sh -c "$private" 2>/dev/null; then
        preloader_runs unshare --user --map-root-user --mount sh -c "$private && exec \"\$0\""
        return
    fi
    # Older kernels: a registered qemu entry hides the answer; it is only ever registered by this
    # script after a native run failed, so keep it.
    [ ! -e "$entry" ] && preloader_runs
}

ensure_deb_src() {
    # grep -c reads all of it: an early exit would make apt-cache fail on SIGPIPE under pipefail.
    apt-cache showsrc qemu 2>/dev/null | grep -c '^Package:' >/dev/null && return
    say "adding Debian source package lists"
    cat > /etc/apt/sources.list.d/i386-wine-src.list <<'EOF'
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
EOF
    apt-get update -qq
}

# Gives each cloned thread a private copy of the GDT (the kernel keeps the TLS entries per thread).
patch_per_thread_gdt() {
    python3 - "$1/linux-user/syscall.c" <<'EOF'
import sys
path = sys.argv[1]
text = open(path).read()
anchor = "        new_env = cpu_copy(env);\n"
fix = """#if defined(TARGET_I386) && defined(TARGET_ABI32)
        {
            abi_ulong gdt = target_mmap(0, sizeof(uint64_t) * TARGET_GDT_ENTRIES,
                                        PROT_READ | PROT_WRITE,
                                        MAP_ANONYMOUS | MAP_PRIVATE, -1, 0);
            if (gdt != -1) {
                memcpy(g2h_untagged(gdt), g2h_untagged(env->gdt.base),
                       sizeof(uint64_t) * TARGET_GDT_ENTRIES);
                new_env->gdt.base = gdt;
            }
        }
#endif
"""
if text.count(anchor) != 1:
    sys.exit("cpu_copy() call not found once in " + path)
open(path, "w").write(text.replace(anchor, anchor + fix))
EOF
}

# Sets qemu to the emulator to register, building the patched one when it is missing or stale;
# rebuilt=1 tells that the file changed under the same name.
choose_qemu() {
    local version stamp work src patch
    version=$(dpkg-query -W -f='${source:Version}' qemu-user-static)
    stamp="qemu $version, per-thread GDT"
    qemu=$patched_qemu
    rebuilt=0
    if [ -x "$patched_qemu" ] && [ "$(cat "$qemu_dir/stamp" 2>/dev/null)" = "$stamp" ]; then
        return
    fi
    say "building qemu-i386 $version with a per-thread GDT"
    work=$(mktemp -d /tmp/i386-wine-qemu.XXXXXX)
    src=$work/src
    # The installed build's own source, else the newest one when the archive has moved on.
    if install_missing meson ninja-build pkg-config gcc make patch python3 xz-utils libglib2.0-dev &&
       ensure_deb_src &&
       (cd "$work" && { apt-get source --download-only -qq "qemu=$version" >/dev/null 2>&1 ||
                        apt-get source --download-only -qq qemu >/dev/null 2>&1; }) &&
       mkdir "$src" &&
       tar -xf "$work"/qemu_*.orig.tar.* -C "$src" --strip-components=1 &&
       tar -xf "$work"/qemu_*.debian.tar.* -C "$src" &&
       (cd "$src" && for patch in $(grep -v '^#' debian/patches/series); do
            patch -p1 -s --no-backup-if-mismatch < "debian/patches/$patch" || exit 1
        done) &&
       patch_per_thread_gdt "$src" &&
       mkdir "$src/build" &&
       (cd "$src/build" &&
        ../configure --static --target-list=i386-linux-user --disable-system --disable-tools \
            --disable-docs --disable-werror --disable-debug-info --disable-capstone \
            --disable-slirp --disable-fdt --disable-plugins >"$work/configure.log" 2>&1 &&
        nice ninja -j"$build_jobs" qemu-i386 >"$work/build.log" 2>&1) &&
       install -D -m 755 "$src/build/qemu-i386" "$patched_qemu"; then
        echo "$stamp" > "$qemu_dir/stamp"
        rm -rf "$work"
        rebuilt=1
        return
    fi
    say "could not build qemu-i386 (logs in $work); using $debian_qemu, multi-threaded programs will crash"
    qemu=$debian_qemu
}

register() {
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    [ "$(cat "$binfmt/status")" = enabled ] || echo 1 > "$binfmt/status"
    # F keeps the file opened at registration, so a rebuilt qemu needs a new entry too.
    if [ -e "$entry" ] && { [ "$rebuilt" = 1 ] || ! grep -qx "interpreter $qemu" "$entry"; }; then
        echo -1 > "$entry"
    fi
    if [ ! -e "$entry" ]; then
        # F: the kernel opens qemu now, so it also works inside chroots and mount namespaces.
        printf ':qemu-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$qemu" > "$binfmt/register"
        say "registered $qemu for i386 programs"
    fi
    grep -qx enabled "$entry" || echo 1 > "$entry"
}

[ "$(id -u)" = 0 ] || { say "must run as root"; exit 1; }
[ "$(uname -m)" = x86_64 ] || { say "only x86-64 hosts are handled"; exit 1; }

install_missing wine32:i386 wine32-preloader:i386

if runs_natively; then
    say "the kernel runs i386 programs itself; nothing to do"
    exit 0
fi

install_missing qemu-user-static
choose_qemu
register

if preloader_runs; then
    say "32-bit Wine runs through $(sed -n 's/^interpreter //p' "$entry")"
    exit 0
fi
say "i386 programs still do not run"
exit 1
