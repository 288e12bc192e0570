# Builds the Windows program with MinGW-w64 and runs and tests it under Wine.
#   make run    build the 64-bit program and start it (DRIVES="E=/media/me/PLAYER ..." maps drives)
#   make plug DRIVE=H FOLDER=/some/folder, make unplug DRIVE=H
#               while `make run` is up: plug a removable drive in, take it out again
#   make test   build 64-bit and 32-bit, then run every test
#   make bench  build and run the benchmarks
#   make dist   build both and pack dist/OveloPlaylist-VERSION-win64.zip and -win32.zip
#   make format reformat the C++ sources
JOBS ?= 2
DRIVES ?=

X64 := build/x86_64
X86 := build/i686

.PHONY: run plug unplug test bench dist format deps x86_64 i686

deps:
	tools/install-deps.sh

x86_64 i686: deps
	test -f build/$@/CMakeCache.txt || \
	    cmake -S . -B build/$@ -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$@.cmake
	cmake --build build/$@ -j$(JOBS)

run: x86_64
	tools/run-app.sh $(X64)/OveloPlaylist.exe $(DRIVES)

# The drive goes into the prefix that `make run` uses, and is announced to its windows.
# It stays in that prefix until it is unplugged.
RUN_PREFIX := $(CURDIR)/$(X64)/wine-run
plug unplug: x86_64
	@test -f $(RUN_PREFIX)/system.reg || { echo "start the program with make run first" >&2; exit 2; }
	@test -n "$(DRIVE)" -a \( $@ = unplug -o -d "$(FOLDER)" \) || \
	    { echo "usage: make plug DRIVE=H FOLDER=/some/folder, make unplug DRIVE=H" >&2; exit 2; }
	WINEPREFIX=$(RUN_PREFIX) tools/wine-run.sh $(X64)/hotplug.exe $@ $(DRIVE) \
	    $(if $(filter plug,$@),"$$(realpath "$(FOLDER)")")

# Nothing runs the 32-bit executables here: their ctest only checks the linked resources.
test: x86_64 i686
	ctest --test-dir $(X86) --output-on-failure
	tools/test-session.sh ctest --test-dir $(X64) --output-on-failure --timeout 300

# bench_update and bench_order run once more with E: on an exFAT volume, where one can be made
# (77: not here).
bench: x86_64
	tools/test-session.sh bash -c 'for b in $(X64)/bench_*.exe; do \
	    [ -e "$$b" ] || continue; echo "== $$b"; tools/wine-run.sh "$$b" || exit; done; \
	    for b in update order; do echo "== $(X64)/bench_$$b.exe on exFAT"; \
	        tools/test-volume.sh run exfat 2G E tools/wine-run.sh $(X64)/bench_$$b.exe E: \
	            "an exFAT volume" || [ $$? -eq 77 ] || exit; done'
	@echo "== bench/copy-context.sh"
	bench/copy-context.sh

# Each zip holds the program, its help page and the picture of the window; checked from outside.
dist: x86_64 i686
	rm -rf dist
	python3 tools/make-dist.py $(X64) $(X86) dist
	python3 tools/check-dist.py dist/*.zip

format:
	find . -path ./build -prune -o -path ./.git -prune -o \( -name '*.cpp' -o -name '*.h' \) \
	    -print | xargs -r clang-format -i
