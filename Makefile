# Front door: every target installs what is missing first.
JOBS ?= 2
RELEASE := build/release
CHECKED := build/checked
FUZZ := build/fuzz
PACKAGE := build/package
FUZZ_SECONDS ?= 60
MONKEY_EVENTS ?= 100000
MONKEY_MAPS ?= $(wildcard maps/*.qvn)
MONKEY_OUT := build/monkey

.PHONY: setup run test package package-check bench format fuzz fuzz-render monkey clean

setup:
	@scripts/setup

$(RELEASE)/build.ninja: setup
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

$(CHECKED)/build.ninja: setup
	@cmake -S . -B $(CHECKED) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_WERROR=ON >/dev/null

run: setup $(RELEASE)/build.ninja
	@flock /tmp/quorvane-build.lock cmake --build $(RELEASE) -j $(JOBS) --target quorvane
	@$(RELEASE)/src/quorvane

test: setup $(CHECKED)/build.ninja
	@flock /tmp/quorvane-build.lock cmake --build $(CHECKED) -j $(JOBS)
	@cd $(CHECKED) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory package-check

# The Debian package from an optimised build of the programs alone, its dates those of the last
# commit (or of SOURCE_DATE_EPOCH when set), so that a commit always gives the same bytes.
package: setup
	@cmake -S . -B $(PACKAGE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_PACKAGE=ON \
		-DQV_SOURCE_DATE_EPOCH=$${SOURCE_DATE_EPOCH:-$$(git log -1 --format=%ct)} >/dev/null
	@flock /tmp/quorvane-build.lock cmake --build $(PACKAGE) -j $(JOBS)
	@rm -f $(PACKAGE)/quorvane_*.deb
	@cd $(PACKAGE) && cpack -G DEB >/dev/null
	@ls $(PACKAGE)/quorvane_*.deb

# Unpacks the package into a scratch folder and checks it from there; installs nothing.
package-check: package
	@scripts/check-package $(PACKAGE)/quorvane_*.deb

bench: setup $(RELEASE)/build.ninja
	@flock /tmp/quorvane-build.lock cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/*_bench; do $$b; done

fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON >/dev/null
	@flock /tmp/quorvane-build.lock cmake --build $(FUZZ) -j $(JOBS) --target map_parser_fuzz
	@mkdir -p fuzz-corpus/map
	@$(FUZZ)/tests/fuzz/map_parser_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 -dict=tests/fuzz/map.dict -print_final_stats=1 fuzz-corpus/map maps tests/fuzz/seeds

fuzz-render: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON >/dev/null
	@flock /tmp/quorvane-build.lock cmake --build $(FUZZ) -j $(JOBS) --target render_fuzz
	@mkdir -p fuzz-corpus/render
	@$(FUZZ)/tests/fuzz/render_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=16384 -timeout=10 -dict=tests/fuzz/map.dict -print_final_stats=1 fuzz-corpus/render maps tests/fuzz/seeds

# Random use of the whole program under the sanitizers, one seed per map from its name; each
# map's run is in a scratch home, its scripts kept in build/monkey/MAP for a replay.
monkey: setup $(CHECKED)/build.ninja
	@flock /tmp/quorvane-build.lock cmake --build $(CHECKED) -j $(JOBS) --target quorvane-headless
	@failed=0; \
	for map in $(MONKEY_MAPS); do \
		name=$$(basename "$$map" .qvn); \
		seed=$$(printf '%s' "$$name" | cksum | cut -d' ' -f1); \
		out=$(MONKEY_OUT)/$$name; \
		rm -rf "$$out" && mkdir -p "$$out/home" "$$out/config"; \
		start=$$(date +%s); \
		if env HOME="$$PWD/$$out/home" XDG_CONFIG_HOME="$$PWD/$$out/config" QUORVANE_MAPS_DIR="$$PWD/maps" \
			$(CHECKED)/tools/quorvane-headless --monkey $(MONKEY_EVENTS) --seed $$seed --out "$$out" "$$map"; then \
			echo "monkey: $$name: ok in $$(( $$(date +%s) - start )) s"; \
		else \
			echo "monkey: $$name: FAILED after $$(( $$(date +%s) - start )) s, scripts in $$out"; \
			failed=1; \
		fi; \
	done; \
	exit $$failed

format: setup
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
